// Test heap backend: malloc'd blocks tracked per heap, with a failure that can be scheduled.
#pragma once

#include <cstddef>

// Makes the `n`-th allocation from now (1: the next one) fail, and every later one succeed;
// 0 cancels a scheduled failure.
void FakeHeapFailAt(std::size_t n);

// Blocks currently held by all fake heaps.
std::size_t FakeHeapLiveBlocks();

// Blocks freed one by one (not by destroying their heap) since the process began.
std::size_t FakeHeapFrees();
