#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace tvk::bench {

// Prints the runs like the console reporter and keeps each benchmark's time per iteration, so that
// ratios between benchmarks of one run can be printed afterwards.
class TimingCollector : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override;
    // Median time per iteration in nanoseconds over the repetitions; 0 when the benchmark did not
    // run (filtered out or failed).
    double median_ns(const std::string& benchmark) const;

  private:
    std::map<std::string, std::vector<double>> m_times_ns;
};

}  // namespace tvk::bench
