// Invariant checks of the fuzz targets: a broken one is named on standard error and aborts the
// run, which libFuzzer then keeps as a crash artifact.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void FuzzCheck(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}
