// Test tick backend: returns scripted tick counts in order.
#pragma once

#include "runtime/types.h"

#include <initializer_list>

// The next readings of the tick count, in order; after the last, it repeats.
void FakeTicksScript(std::initializer_list<ULong> ticks);
