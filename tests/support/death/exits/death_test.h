// Tests that a statement ends the process with an exit code, in a process of its own
// (GoogleTest's death tests). CMake picks this header where a test can start one.
#pragma once

#include <gtest/gtest.h>

#define EXPECT_EXIT_CODE(statement, code, message)                                                 \
    EXPECT_EXIT(statement, ::testing::ExitedWithCode(code), message)
