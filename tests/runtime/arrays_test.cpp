// Record arrays, with the heap backend that can be told to fail.
#include "fakes/fake_heap.h"
#include "runtime/arrays.h"
#include "support/runtime_fixture.h"

#include <cstdint>

namespace {

struct Record {
    Long a;
    Long b;
    Long c;
};

class ArrayTest : public RuntimeTest {
  protected:
    void TearDown() override {
        FakeHeapFailAt(0);
        RuntimeTest::TearDown();
    }
};

void ExpectZeroRecords(const Record* array, ULong count) {
    for (ULong i = 0; i < count; ++i) {
        EXPECT_EQ(array[i].a, 0);
        EXPECT_EQ(array[i].b, 0);
        EXPECT_EQ(array[i].c, 0);
    }
}

TEST_F(ArrayTest, DimWritesHeaderAndZeroRecords) {
    for (ULong count : {0u, 1u, 7u, 31u, 1000u}) {
        SCOPED_TRACE(count);
        Record* array = nullptr;
        ArrayDim(array, count, 7);
        ASSERT_NE(array, nullptr);
        EXPECT_EQ(ArrayHeader(array)->count, count);
        EXPECT_EQ(ArrayHeader(array)->tag, 7u);
        EXPECT_EQ(reinterpret_cast<const char*>(array) -
                      reinterpret_cast<const char*>(ArrayHeader(array)),
                  8);
        ExpectZeroRecords(array, count);
        for (ULong i = 0; i < count; ++i)
            array[i].c = 1; // every record writable
    }
}

TEST_F(ArrayTest, RedimFreesTheOldBlockFirstAndStartsFromZero) {
    Record* array = nullptr;
    ArrayDim(array, 5, 7);
    for (ULong i = 0; i < 5; ++i)
        array[i] = {1, 2, 3};
    const std::size_t start = FakeHeapLog().size();
    ArrayDim(array, 9, 3);
    // Freed before the new block is taken: a failure on this allocation still frees the old.
    EXPECT_EQ(FakeHeapLog().substr(start), "fa");
    EXPECT_EQ(ArrayHeader(array)->count, 9u);
    EXPECT_EQ(ArrayHeader(array)->tag, 3u);
    ExpectZeroRecords(array, 9);
}

TEST_F(ArrayTest, FailedAllocationLeavesNullAndTheOldBlockReleased) {
    struct Case {
        const char* name;
        bool hadArray;
    };
    for (const Case& c : {Case{"fresh variable", false}, Case{"variable holding an array", true}}) {
        SCOPED_TRACE(c.name);
        Record* array = nullptr;
        if (c.hadArray) ArrayDim(array, 4, 7);
        const std::size_t live = FakeHeapLiveBlocks();
        FakeHeapFailAt(1);
        ArrayDim(array, 4, 7);
        EXPECT_EQ(array, nullptr);
        EXPECT_EQ(FakeHeapLiveBlocks(), live - (c.hadArray ? 1 : 0));
    }
}

TEST_F(ArrayTest, SizeBeyondTheAddressSpaceFailsWithoutAllocating) {
    struct Case {
        std::size_t recordSize;
        ULong count;
    };
    // clang-format off
    const Case cases[] = {
        {SIZE_MAX / 2 + 1, 2},  // the product wraps to 0: an 8-byte block if unchecked
        {SIZE_MAX / 4 + 1, 4},
        {SIZE_MAX / 2, 3},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        void* array = nullptr;
        const std::size_t live = FakeHeapLiveBlocks();
        ArrayDim(array, c.recordSize, c.count, 7);
        EXPECT_EQ(array, nullptr);
        EXPECT_EQ(FakeHeapLiveBlocks(), live);
    }
}

} // namespace
