#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace tvk::bench {

// Name of the statistic that each benchmark adds to its aggregates, computed by fastest().
inline constexpr const char* kFastest = "fastest";
double fastest(const std::vector<double>& values);

// Prints the runs like the console reporter and keeps each benchmark's times per iteration, so
// that ratios between benchmarks of one run can be printed afterwards.
class TimingCollector : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override;
    // Fastest CPU time per iteration in nanoseconds over the repetitions; 0 when the benchmark
    // did not run (filtered out or failed).
    double fastest_ns(const std::string& benchmark) const;
    // The same in wall-clock time, for work spread over several threads.
    double fastest_real_ns(const std::string& benchmark) const;
    // The median wall-clock time per iteration over the repetitions; 0 when it did not run.
    double median_real_ns(const std::string& benchmark) const;
    // A counter of the benchmark's last repetition; 0 when there is none.
    double counter(const std::string& benchmark, const std::string& name) const;
    // True when a benchmark stopped with an error, such as a round trip that changed the data.
    bool any_error() const { return m_any_error; }

  private:
    std::map<std::string, double> m_fastest_ns;
    std::map<std::string, double> m_fastest_real_ns;
    std::map<std::string, std::vector<double>> m_real_ns;
    std::map<std::string, benchmark::UserCounters> m_counters;
    bool m_any_error = false;
};

}  // namespace tvk::bench
