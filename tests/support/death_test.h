// Tests that a statement ends the process with an exit code, where the platform can run them:
// WebAssembly has no fork(), so there GoogleTest has no death tests and the test is skipped.
#pragma once

#include <gtest/gtest.h>

#if GTEST_HAS_DEATH_TEST
#define EXPECT_EXIT_CODE(statement, code, message)                                                 \
    EXPECT_EXIT(statement, ::testing::ExitedWithCode(code), message)
#else
#define EXPECT_EXIT_CODE(statement, code, message) GTEST_SKIP() << "no death tests here"
#endif
