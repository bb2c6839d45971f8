// Benchmarks of FindPrimeFactors and FindDivisors beside their bare reference loops.
#include "arith/divisors.h"
#include "arith/factors.h"
#include "bench/bare_methods.h"
#include "bench/benchmarks.h"
#include "runtime/heap.h"
#include "runtime/lists.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// Primes: the trial division costs n - 1 divisions and finds one factor.
constexpr Long PrimeInputs[] = {1000003, 100000007, 2147483647};
// Factor occurrences (all twos): 2^c - 1 products for c divisors.
constexpr Long TwoCounts[] = {16, 20, 24};

// Divisions FindPrimeFactors makes for `n`: (factor - 1) for each factor found, by a square-root
// bounded search of our own.
double TrialDivisions(Long n) {
    double divisions = 0;
    Long m = n;
    for (Long d = 2; d <= m / d; ++d) {
        for (; m % d == 0; m /= d)
            divisions += d - 1;
    }
    if (m > 1) divisions += m - 1;
    return divisions;
}

void SetDivisionRate(benchmark::State& state, Long n) {
    state.counters["divisions"] =
        benchmark::Counter(TrialDivisions(n), benchmark::Counter::kIsIterationInvariantRate);
}

void SetProductRate(benchmark::State& state, Long count) {
    const double products = static_cast<double>((1ull << count) - 1);
    state.counters["products"] =
        benchmark::Counter(products, benchmark::Counter::kIsIterationInvariantRate);
}

void FactorsOurs(benchmark::State& state) {
    const auto n = static_cast<Long>(state.range(0));
    RuntimeHeapStart();
    for (auto _ : state) {
        CursorList factorList{};
        ListCreate(factorList, sizeof(Long));
        Long input = n;
        benchmark::DoNotOptimize(input); // no constant for the compiler to fold
        benchmark::DoNotOptimize(FindPrimeFactors(factorList, input));
        benchmark::DoNotOptimize(factorList.cursor);
    }
    RuntimeHeapEnd(); // also every list of the loop
    SetDivisionRate(state, n);
}

void FactorsBare(benchmark::State& state) {
    const auto n = static_cast<Long>(state.range(0));
    Long factors[31];
    for (auto _ : state) {
        Long input = n;
        benchmark::DoNotOptimize(input);
        benchmark::DoNotOptimize(BareTrialDivision(input, factors));
        benchmark::ClobberMemory(); // the factors are written
    }
    SetDivisionRate(state, n);
}

void DivisorsOurs(benchmark::State& state) {
    const auto count = static_cast<Long>(state.range(0));
    RuntimeHeapStart();
    CursorList factorList{};
    ListCreate(factorList, sizeof(Long));
    for (Long i = 0; i < count; ++i)
        ListLong(ListAdd(factorList)) = 2;
    FactorSlot* factorSlots = nullptr;
    for (auto _ : state) {
        CursorList divisorList{};
        ListCreate(divisorList, sizeof(Long));
        benchmark::DoNotOptimize(FindDivisors(factorList, divisorList, factorSlots));
        benchmark::DoNotOptimize(divisorList.header->last);
    }
    RuntimeHeapEnd();
    SetProductRate(state, count);
}

void DivisorsBare(benchmark::State& state) {
    const auto count = static_cast<Long>(state.range(0));
    std::vector<Long> factors(static_cast<std::size_t>(count), 2);
    std::vector<Long> use(factors.size());
    std::vector<Long> divisors(factors.size()); // 2^c has c divisors above 1
    for (auto _ : state) {
        benchmark::DoNotOptimize(factors.data());
        benchmark::DoNotOptimize(BareDivisors(factors.data(), count, use.data(), divisors.data()));
        benchmark::ClobberMemory();
    }
    SetProductRate(state, count);
}

} // namespace

// Ours and the bare loop alternate per input, so that both see the same machine state. Medians
// need repetitions; the largest prime takes seconds per call and runs once each time.
void BenchRegisterArith() {
    for (const Long n : PrimeInputs) {
        for (auto [name, function] : {std::pair{"FindPrimeFactors", &FactorsOurs},
                                      std::pair{"BareTrialDivision", &FactorsBare}}) {
            auto* benchmark = benchmark::RegisterBenchmark(name, function)->Arg(n);
            benchmark->Unit(benchmark::kMillisecond)->DisplayAggregatesOnly();
            if (n > 1000000000)
                benchmark->Iterations(1)->Repetitions(3);
            else
                benchmark->Repetitions(5);
        }
    }
    for (const Long count : TwoCounts) {
        for (auto [name, function] :
             {std::pair{"FindDivisors", &DivisorsOurs}, std::pair{"BareDivisors", &DivisorsBare}}) {
            benchmark::RegisterBenchmark(name, function)
                ->Arg(count)
                ->Unit(benchmark::kMillisecond)
                ->Repetitions(5)
                ->DisplayAggregatesOnly();
        }
    }
}
