// Tick count of the web edition: milliseconds of the page's monotonic clock (performance.now()),
// which the page cuts to 32 bits, so that it wraps as GetTickCount does.
#include "runtime/os_ticks.h"

// Served by the page's worker (and by scripts/wasi-run for the suites).
__attribute__((import_module("primteiler"), import_name("tick_count"))) ULong WebTickCount();

ULong OsTickCount() {
    return WebTickCount();
}
