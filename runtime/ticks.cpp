// Elapsed milliseconds from the platform's tick count.
#include "runtime/ticks.h"

#include "runtime/os_ticks.h"

ULong TickCount() {
    return OsTickCount();
}

Long TickElapsed(ULong start) {
    return static_cast<Long>(OsTickCount() - start);
}
