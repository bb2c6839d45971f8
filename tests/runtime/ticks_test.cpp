// The platform's real tick source against the system's clock.
#include "runtime/ticks.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

namespace {

// The suites over scripted ticks cannot see a source that counts seconds or microseconds, or
// never moves. The wait passes a second boundary, so that a source whose seconds part is wrong
// shows too. The bounds hold on a loaded machine: the upper one is the time actually slept.
TEST(TicksTest, CountMillisecondsOfTheSystemClock) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point before = Clock::now();
    const ULong start = TickCount();
    const timespec wait{1, 100'000'000}; // 1100 ms
    ASSERT_EQ(nanosleep(&wait, nullptr), 0);
    const Long elapsed = TickElapsed(start);
    const auto slept =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - before).count();
    EXPECT_GE(elapsed, 1080) << "Windows ticks step by up to 16 ms";
    EXPECT_LE(elapsed, slept + 20);
}

} // namespace
