// primteiler_bench: runs the benchmarks, then prints how much slower the program's methods are
// than their bare reference loops (medians of the CPU time per call).
#include "bench/benchmarks.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// The console table, and the median CPU time of every benchmark run with repetitions.
class MedianReporter : public benchmark::ConsoleReporter {
  public:
    MedianReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median") continue;
            const double seconds =
                run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            medians[run.run_name.function_name + "/" + run.run_name.args] = seconds;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Median seconds of `name` ("function/argument"), or 0 when it was not run.
    double Median(const std::string& name) const {
        const auto found = medians.find(name);
        return found == medians.end() ? 0 : found->second;
    }

  private:
    std::map<std::string, double> medians;
};

// Prints ours/bare for each argument both were run with, then the largest of these ratios
// against its target. Prints nothing when no pair was run (a --benchmark_filter).
void PrintRatios(const MedianReporter& reporter, const char* what, const char* ours,
                 const char* bare, const std::vector<long long>& arguments, double target) {
    double worst = 0;
    for (const long long argument : arguments) {
        const std::string suffix = "/" + std::to_string(argument);
        const double oursSeconds = reporter.Median(ours + suffix);
        const double bareSeconds = reporter.Median(bare + suffix);
        if (oursSeconds == 0 || bareSeconds == 0) continue;
        const double ratio = oursSeconds / bareSeconds;
        std::printf("%s%s / %s%s, median CPU time: %.3fx\n", ours, suffix.c_str(), bare,
                    suffix.c_str(), ratio);
        if (ratio > worst) worst = ratio;
    }
    if (worst == 0) return;
    std::printf("ratio %s: %.2fx (target %.2fx, worst input)%s\n", what, worst, target,
                worst <= target ? "" : "  MISSED");
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    BenchRegisterArith();
    BenchRegisterReport();

    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    PrintRatios(reporter, "trial division", "FindPrimeFactors", "BareTrialDivision",
                {1000003, 100000007, 2147483647}, 1.05);
    PrintRatios(reporter, "divisors", "FindDivisors", "BareDivisors", {16, 20, 24}, 1.25);
    return 0;
}
