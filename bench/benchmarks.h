// The benchmark groups of primteiler_bench, registered by its main in this order.
#pragma once

// FindPrimeFactors and FindDivisors, each input followed by the bare reference loop on it.
void BenchRegisterArith();

// The report of a number with many divisors: both lines and the composed text.
void BenchRegisterReport();
