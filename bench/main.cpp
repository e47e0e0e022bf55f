// Runs every benchmark and then prints each one as a ratio against the
// baseline of its group, measured in the same run. Naming: the group is the
// name up to the first '_' or '/'; a benchmark "Group_Baseline..." (or
// "Group/Baseline...") is the baseline of every other one of its group.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal: the figures often go to a file or a note.
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            if (run.error_occurred) {
                ++m_errors;
                continue;
            }
            std::string name = run.benchmark_name();
            // Each run reports in its own unit: compare in nanoseconds.
            double ns =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
            m_results.emplace_back(name, ns);
        }
    }

    // With --benchmark_repetitions each repetition is one figure: the
    // ratios are then given as min / median / max against the baseline's
    // median.
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::map<std::string, std::vector<double>> byName;
        std::vector<std::string> order;
        for (const auto& [name, ns] : m_results) {
            if (byName[name].empty()) order.push_back(name);
            byName[name].push_back(ns);
        }
        auto median = [](std::vector<double> v) {
            std::sort(v.begin(), v.end());
            return v[v.size() / 2];
        };
        std::map<std::string, std::pair<std::string, double>> baselines;
        for (const auto& name : order) {
            auto slash = name.find_first_of("_/");
            if (slash == std::string::npos) continue;
            if (name.compare(slash + 1, 8, "Baseline") == 0)
                baselines[name.substr(0, slash)] = {name, median(byName[name])};
        }
        std::printf("\nRatios against the baseline of each group (lower is faster):\n");
        for (const auto& name : order) {
            auto slash = name.find_first_of("_/");
            if (slash == std::string::npos) continue;
            auto it = baselines.find(name.substr(0, slash));
            if (it == baselines.end() || it->second.first == name || it->second.second <= 0)
                continue;
            std::vector<double> v = byName[name];
            std::sort(v.begin(), v.end());
            const double base = it->second.second;
            if (v.size() == 1) {
                std::printf("  %-60s %10.3f x  (%s)\n", name.c_str(), v[0] / base,
                            it->second.first.c_str());
            } else {
                std::printf("  %-52s %7.3f / %7.3f / %7.3f x  min/median/max of %zu (%s)\n",
                            name.c_str(), v.front() / base, v[v.size() / 2] / base, v.back() / base,
                            v.size(), it->second.first.c_str());
            }
        }
    }

    // Benchmarks that ended with an error: their figures would be of a broken scene.
    int Errors() const { return m_errors; }

private:
    std::vector<std::pair<std::string, double>> m_results;
    int m_errors = 0;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (reporter.Errors() > 0) {
        std::fprintf(stderr, "%d benchmark(s) ended with an error\n", reporter.Errors());
        return 1;
    }
    return 0;
}
