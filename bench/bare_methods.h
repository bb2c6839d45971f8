// Reference loops for the benchmarks: the program's two methods written plainly over arrays,
// without the runtime's lists, record arrays or wrap guards.
#pragma once

#include "runtime/types.h"

// Restarted trial division of `n` (2 or more): the same divisions in the same order as
// FindPrimeFactors, with the machine's 32-bit signed % and /. Writes the factors to `factors`
// (room for 31) and returns their number.
Long BareTrialDivision(Long n, Long* factors);

// Base-two counting over `count` (1 or more) factor occurrences as FindDivisors does it: a full
// carry pass, a full product pass and a linear search of the divisors found so far, here an
// array. `use` is scratch for `count` digits. Writes each divisor above 1 once to `divisors`,
// which needs room for all of them (1600 at most for a 32-bit number), and returns their number.
Long BareDivisors(const Long* factors, Long count, Long* use, Long* divisors);
