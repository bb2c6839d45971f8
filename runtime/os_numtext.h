// Platform seam: decimal text of a Long (Win32 wvsprintfA with "%ld").
#pragma once

#include "runtime/types.h"

// Longest text OsFormatLong writes, its NUL included: "-2147483648".
inline constexpr int LongTextSize = 12;

// Writes `value` as signed decimal text with its NUL into `out` (LongTextSize bytes); returns
// the number of characters written before the NUL.
int OsFormatLong(char* out, Long value);
