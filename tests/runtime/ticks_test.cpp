// The platform's real tick source against the system's clock.
#include "runtime/ticks.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

// The suites over scripted ticks cannot see a source that counts seconds or microseconds, or
// never moves. The wait watches the standard library's steady clock, which every build has (the
// WebAssembly one has no threads to sleep); the bounds hold on a loaded machine, the upper one
// being the time actually waited.
TEST(TicksTest, CountMillisecondsOfTheSystemClock) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point before = Clock::now();
    const ULong start = TickCount();
    while (Clock::now() - before < std::chrono::milliseconds(100)) {
    }
    const Long elapsed = TickElapsed(start);
    const auto waited =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - before).count();
    EXPECT_GE(elapsed, 80);
    EXPECT_LE(elapsed, waited + 20) << "Windows ticks step by up to 16 ms";
}

} // namespace
