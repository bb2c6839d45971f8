// Tick count stand-in: the monotonic clock in milliseconds, cut to 32 bits so it wraps as
// GetTickCount does.
#include "runtime/os_ticks.h"

#include <ctime>

ULong OsTickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto ms = static_cast<unsigned long long>(now.tv_sec) * 1000u +
                    static_cast<unsigned long long>(now.tv_nsec) / 1000000u;
    return static_cast<ULong>(ms);
}
