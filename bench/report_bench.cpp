// Benchmark of the report: both list lines, rebuilt at every entry, and the composed text.
#include "app/report.h"
#include "arith/divisors.h"
#include "arith/factors.h"
#include "bench/benchmarks.h"
#include "runtime/heap.h"
#include "runtime/lists.h"
#include "runtime/strings.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

// 735134400 = 2^6 * 3^3 * 5^2 * 7 * 11 * 13 * 17: 1344 divisors, a report of some 9 kB.
constexpr Long ManyDivisors = 735134400;

void Report(benchmark::State& state) {
    const auto number = static_cast<Long>(state.range(0));
    RuntimeHeapStart();
    WorkspaceStart();
    CursorList factorList{};
    ListCreate(factorList, sizeof(Long));
    FindPrimeFactors(factorList, number);
    CursorList divisorList{};
    ListCreate(divisorList, sizeof(Long));
    FactorSlot* factorSlots = nullptr;
    FindDivisors(factorList, divisorList, factorSlots);

    StringVariable factorText{};
    StringVariable divisorText{};
    StringVariable lineBreak{};
    for (auto _ : state) {
        ReportLine(factorText, factorList);
        ReportLine(divisorText, divisorList);
        StringAssign(lineBreak, "\r\n");
        char* start = WorkspacePosition();
        benchmark::DoNotOptimize(ReportCompose(0, factorText, 0, divisorText, lineBreak));
        WorkspaceRewind(start);
    }
    // The last report still stands at the rewound position.
    state.counters["divisors"] = ListCount(divisorList) + 1.0; // and the 1 heading the line
    state.counters["report_bytes"] = static_cast<double>(std::strlen(WorkspacePosition()));
    RuntimeHeapEnd();
}

} // namespace

void BenchRegisterReport() {
    benchmark::RegisterBenchmark("Report", &Report)
        ->Arg(ManyDivisors)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->DisplayAggregatesOnly();
}
