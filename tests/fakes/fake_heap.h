// Test heap backend: malloc'd blocks tracked per heap, with a failure that can be scheduled.
#pragma once

#include <cstddef>
#include <string>

// Makes the `n`-th allocation from now (1: the next one) fail, and every later one succeed;
// 0 cancels a scheduled failure.
void FakeHeapFailAt(std::size_t n);

// Blocks currently held by all fake heaps.
std::size_t FakeHeapLiveBlocks();

// Every allocation ('a', a failed one included) and every block freed one by one ('f', not by
// destroying its heap) since the process began, in order.
const std::string& FakeHeapLog();
