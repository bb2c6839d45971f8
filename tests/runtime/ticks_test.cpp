// The platform's real tick source against the system's clock.
#include "runtime/ticks.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

// The suites over scripted ticks cannot see a source that counts seconds or microseconds, or
// never moves. The bounds hold on a loaded machine: the upper one is the time actually slept.
TEST(TicksTest, CountMillisecondsOfTheSystemClock) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point before = Clock::now();
    const ULong start = TickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const Long elapsed = TickElapsed(start);
    const auto slept =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - before).count();
    EXPECT_GE(elapsed, 80);
    EXPECT_LE(elapsed, slept + 20) << "Windows ticks step by up to 16 ms";
}

} // namespace
