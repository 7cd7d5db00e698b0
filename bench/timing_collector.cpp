#include "timing_collector.h"

#include <algorithm>

namespace tvk::bench {
namespace {

constexpr double kNanosecondsPer[] = {1, 1e3, 1e6, 1e9};  // by benchmark::TimeUnit

}  // namespace

void TimingCollector::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.error_occurred) {
            continue;
        }
        // CPU time, not wall time: other processes on the machine then disturb the ratios less.
        const double ns = run.GetAdjustedCPUTime() * kNanosecondsPer[run.time_unit];
        std::vector<double>& times = m_times_ns[run.run_name.function_name];
        if (run.run_type == Run::RT_Iteration) {
            times.push_back(ns);
        } else if (run.aggregate_name == "median") {
            // Only aggregates are reported when asked for; the median then stands for them all.
            times.assign(1, ns);
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

double TimingCollector::median_ns(const std::string& benchmark) const {
    const auto found = m_times_ns.find(benchmark);
    if (found == m_times_ns.end() || found->second.empty()) {
        return 0;
    }
    std::vector<double> times = found->second;
    const auto middle = times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2);
    std::nth_element(times.begin(), middle, times.end());
    return *middle;
}

}  // namespace tvk::bench
