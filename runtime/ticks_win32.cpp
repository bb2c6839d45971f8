// Tick count on Win32.
#include "runtime/os_ticks.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

ULong OsTickCount() {
    return static_cast<ULong>(::GetTickCount());
}
