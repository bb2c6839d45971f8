// Test tick backend with scripted readings; see fake_ticks.h.
#include "fake_ticks.h"
#include "runtime/os_ticks.h"

#include <vector>

namespace {
std::vector<ULong> script{0};
std::size_t next;
} // namespace

void FakeTicksScript(std::initializer_list<ULong> ticks) {
    script.assign(ticks);
    next = 0;
}

ULong OsTickCount() {
    const ULong tick = script[next];
    if (next + 1 < script.size()) ++next;
    return tick;
}
