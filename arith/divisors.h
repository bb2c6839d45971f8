// Divisor enumeration: every selection of factor occurrences, counted in base two.
#pragma once

#include "runtime/lists.h"
#include "runtime/types.h"

// One factor occurrence and its digit of the selection counter; slot 0 is the least
// significant digit.
struct FactorSlot {
    Long factor;
    Long use; // 0 or 1; 2 only while a carry is pending
};
static_assert(sizeof(FactorSlot) == 8, "two 32-bit fields");

// Tag written into the header of the slot array.
inline constexpr ULong FactorSlotTag = 7;

// Appends each divisor above 1 of the product of `factorList`'s values to `divisorList` (a
// fresh list of Long values), once, in order of first discovery; returns the milliseconds the
// work took, or 0 at once for an empty factor list (no slot array then). Moves `factorList`'s
// cursor. Dimensions `factorSlots` (a record array, released first when it holds one) to one
// slot per factor occurrence and leaves it allocated. When the slot array cannot be allocated
// the process ends as out of memory (see runtime/heap.h): without the slots there is nothing
// to count with, and an empty divisor list would be a wrong report.
//
// Exponential by design: 2^c - 1 products for c occurrences, each with a full carry pass, a
// full product pass and a linear search of the divisors found so far.
Long FindDivisors(CursorList& factorList, CursorList& divisorList, FactorSlot*& factorSlots);
