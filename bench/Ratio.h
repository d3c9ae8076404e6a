#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

// Runs the registered benchmarks and prints, for each (measured, baseline) pair, the ratio of
// their times in this same run next to its target. A benchmark that errors, or one of a pair
// that did not run (filtered out, misspelt), fails the run like a missed target.
struct RatioCheck {
    std::string measured;
    std::string baseline;
    double target;
};

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                errors_[run.run_name.function_name] = run.error_message;
                continue;
            }
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                times_[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times_;
    std::map<std::string, std::string> errors_;
};

// `defaults` are benchmark flags that go before the command line's, which can override them.
inline int RunWithRatios(int argc, char** argv, const std::vector<RatioCheck>& checks,
                         std::vector<std::string> defaults = {}) {
    std::vector<char*> args{argv[0]};
    for (std::string& flag : defaults) args.push_back(flag.data());
    args.insert(args.end(), argv + 1, argv + argc);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    int missed = 0;
    for (const auto& [name, message] : reporter.errors_) {
        std::printf("benchmark %s failed: %s\n", name.c_str(), message.c_str());
        ++missed;
    }
    for (const RatioCheck& c : checks) {
        const auto m = reporter.times_.find(c.measured);
        const auto b = reporter.times_.find(c.baseline);
        if (m == reporter.times_.end() || b == reporter.times_.end() || b->second <= 0) {
            std::printf("ratio %s / %s: not measured (target <= %g) MISSED\n", c.measured.c_str(),
                        c.baseline.c_str(), c.target);
            ++missed;
            continue;
        }
        const double ratio = m->second / b->second;
        const bool ok = ratio <= c.target;
        missed += ok ? 0 : 1;
        std::printf("ratio %s / %s = %.3g (target <= %g) %s\n", c.measured.c_str(),
                    c.baseline.c_str(), ratio, c.target, ok ? "ok" : "MISSED");
    }
    benchmark::Shutdown();
    return missed == 0 ? 0 : 1;
}
