// Prime factorization by trial division that restarts at 2 after every factor.
#pragma once

#include "runtime/lists.h"
#include "runtime/types.h"

// Appends the prime factors of `n` (2 or more), smallest first and with multiplicity, to
// `factorList` (a fresh list of Long values); returns the milliseconds the work took. The
// cursor ends on the last factor. Costs the sum over the factors of (factor - 1) divisions.
//
// Below 2 it still ends for every value but 0, by the 32-bit arithmetic: the candidate wraps
// through the negative range to -1, which divides everything (1 gives -1, -1 after about 2^33
// divisions). For 0 it never ends: every pass appends another 2.
Long FindPrimeFactors(CursorList& factorList, Long n);
