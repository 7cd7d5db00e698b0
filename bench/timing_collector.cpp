#include "timing_collector.h"

#include <algorithm>

namespace tvk::bench {
namespace {

constexpr double kNanosecondsPer[] = {1, 1e3, 1e6, 1e9};  // by benchmark::TimeUnit

}  // namespace

void TimingCollector::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.error_occurred) {
            m_any_error = true;
            continue;
        }
        // CPU time, not wall time, and the fastest repetition: other processes on the machine
        // only ever add to a measurement, so these disturb the ratios least.
        const bool repetition = run.run_type == Run::RT_Iteration;
        if (repetition || run.aggregate_name == kFastest) {
            const std::string& name = run.run_name.function_name;
            const double ns = run.GetAdjustedCPUTime() * kNanosecondsPer[run.time_unit];
            auto [found, added] = m_fastest_ns.try_emplace(name, ns);
            found->second = std::min(found->second, ns);
            const double real_ns = run.GetAdjustedRealTime() * kNanosecondsPer[run.time_unit];
            auto [found_real, added_real] = m_fastest_real_ns.try_emplace(name, real_ns);
            found_real->second = std::min(found_real->second, real_ns);
            if (repetition) {
                m_real_ns[name].push_back(real_ns);
                m_counters[name] = run.counters;
            }
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

double TimingCollector::fastest_ns(const std::string& benchmark) const {
    const auto found = m_fastest_ns.find(benchmark);
    return found == m_fastest_ns.end() ? 0 : found->second;
}

double TimingCollector::fastest_real_ns(const std::string& benchmark) const {
    const auto found = m_fastest_real_ns.find(benchmark);
    return found == m_fastest_real_ns.end() ? 0 : found->second;
}

double TimingCollector::median_real_ns(const std::string& benchmark) const {
    const auto found = m_real_ns.find(benchmark);
    if (found == m_real_ns.end()) {
        return 0;
    }
    std::vector<double> times = found->second;
    const auto middle = times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2);
    std::nth_element(times.begin(), middle, times.end());
    if (times.size() % 2 != 0) {
        return *middle;
    }
    return (*middle + *std::max_element(times.begin(), middle)) / 2;
}

double TimingCollector::counter(const std::string& benchmark, const std::string& name) const {
    const auto found = m_counters.find(benchmark);
    if (found == m_counters.end()) {
        return 0;
    }
    const auto value = found->second.find(name);
    return value == found->second.end() ? 0 : value->second.value;
}

double fastest(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

}  // namespace tvk::bench
