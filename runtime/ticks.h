// Elapsed milliseconds from the platform's tick count.
#pragma once

#include "runtime/types.h"

// The tick count now, in milliseconds; wraps at 2^32.
ULong TickCount();

// Milliseconds from `start` (a TickCount) to now: the wrapping 32-bit difference, so a wrap of
// the tick count between the two readings costs nothing.
Long TickElapsed(ULong start);
