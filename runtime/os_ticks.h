// Platform seam: the millisecond tick count.
#pragma once

#include "runtime/types.h"

// Milliseconds since an arbitrary fixed point, wrapping at 2^32 (Win32 GetTickCount).
ULong OsTickCount();
