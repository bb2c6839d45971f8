// The runtime heap over the platform's real heap backend, and its out-of-memory end.
#include "death_test.h"
#include "support/runtime_fixture.h"

#include <cstdint>
#include <cstring>

namespace {

class HeapTest : public RuntimeTest {};

TEST_F(HeapTest, BlocksAreZeroFilledWhenAskedAndIndependent) {
    // Dirty some memory first so that a zero-filled block is not zero by luck.
    for (int i = 0; i < 64; ++i)
        std::memset(RuntimeAlloc(256, false), 0xEE, 256);
    for (std::size_t size :
         {std::size_t{1}, std::size_t{12}, std::size_t{256}, std::size_t{70000}}) {
        SCOPED_TRACE(size);
        auto* zeroed = static_cast<unsigned char*>(RuntimeAlloc(size, true));
        auto* raw = static_cast<unsigned char*>(RuntimeAlloc(size, false));
        std::size_t nonZero = 0;
        for (std::size_t i = 0; i < size; ++i)
            nonZero += zeroed[i] != 0;
        EXPECT_EQ(nonZero, 0u);
        std::memset(raw, 0x5A, size); // writable to its last byte
        EXPECT_EQ(zeroed[size - 1], 0) << "blocks overlap";
        RuntimeFree(raw);
    }
    RuntimeFree(nullptr); // ignored
}

// Many blocks, some freed one by one, the rest released by destroying the heap: the sanitizer
// and valgrind runs report any block the heap loses track of.
TEST_F(HeapTest, DestroyReleasesEveryBlockStillHeld) {
    for (int round = 0; round < 3; ++round) {
        void* kept[500];
        for (int i = 0; i < 500; ++i)
            kept[i] = RuntimeAlloc(static_cast<std::size_t>(8 + i), i % 2 == 0);
        for (int i = 0; i < 500; i += 3)
            RuntimeFree(kept[i]);
        RuntimeHeapEnd();
        EXPECT_EQ(runtimeHeap, nullptr);
        RuntimeHeapStart();
    }
    WorkspaceStart();
}

TEST_F(HeapTest, TryAllocReportsARefusal) {
    EXPECT_EQ(RuntimeTryAlloc(SIZE_MAX / 2, true), nullptr);
    EXPECT_EQ(RuntimeTryAlloc(SIZE_MAX - 8, false), nullptr);
}

TEST_F(HeapTest, RefusedMustSucceedAllocationEndsTheProcess) {
    EXPECT_EXIT_CODE(RuntimeAlloc(SIZE_MAX / 2, false), 3, "out of memory");
}

} // namespace
