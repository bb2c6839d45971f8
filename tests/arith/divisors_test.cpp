// Divisor enumeration by base-two counting over the factor occurrences.
#include "arith/divisors.h"
#include "arith/factors.h"
#include "death_test.h"
#include "fakes/fake_heap.h"
#include "fakes/fake_ticks.h"
#include "runtime/arrays.h"
#include "support/runtime_fixture.h"

#include <algorithm>

namespace {

class DivisorsTest : public RuntimeTest {
  protected:
    void TearDown() override {
        FakeHeapFailAt(0);
        RuntimeTest::TearDown();
    }
};

std::vector<Long> Divisors(const std::vector<Long>& factors, FactorSlot*& slots) {
    CursorList factorList = ListOf(factors);
    CursorList divisorList{};
    ListCreate(divisorList, sizeof(Long));
    FindDivisors(factorList, divisorList, slots);
    return ListValues(divisorList);
}

TEST_F(DivisorsTest, DivisorsInOrderOfDiscovery) {
    struct Case {
        const char* name;
        std::vector<Long> factors;
        std::vector<Long> divisors;
    };
    // clang-format off
    const Case cases[] = {
        {"97", {97}, {97}},
        {"12", {2, 2, 3}, {2, 4, 3, 6, 12}},
        {"30", {2, 3, 5}, {2, 3, 6, 5, 10, 15, 30}},
        {"100", {2, 2, 5, 5}, {2, 4, 5, 10, 20, 25, 50, 100}},
        {"360", {2, 2, 2, 3, 3, 5},
         {2, 4, 8, 3, 6, 12, 24, 9, 18, 36, 72, 5, 10, 20, 40, 15, 30, 60, 120, 45, 90, 180, 360}},
        {"2^10", std::vector<Long>(10, 2), {2, 4, 8, 16, 32, 64, 128, 256, 512, 1024}},
        {"49", {7, 7}, {7, 49}},
        // The list is taken as it stands, in its own order.
        {"factors out of order", {3, 2}, {3, 2, 6}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FactorSlot* slots = nullptr;
        EXPECT_EQ(Divisors(c.factors, slots), c.divisors);
        ASSERT_NE(slots, nullptr);
        // The slot array stays: one slot per occurrence, in list order, tagged 7. The counter
        // ran until it would reach 2^c, which leaves every digit 0 but the top one at 2.
        EXPECT_EQ(ArrayHeader(slots)->count, c.factors.size());
        EXPECT_EQ(ArrayHeader(slots)->tag, 7u);
        for (std::size_t i = 0; i < c.factors.size(); ++i) {
            EXPECT_EQ(slots[i].factor, c.factors[i]);
            EXPECT_EQ(slots[i].use, i + 1 < c.factors.size() ? 0 : 2) << "digit " << i;
        }
    }
}

// Every n from 2 to 3000: exactly the divisors above 1, each once.
TEST_F(DivisorsTest, FindsEachDivisorAboveOneExactlyOnce) {
    FactorSlot* slots = nullptr;
    for (Long n = 2; n <= 3000; ++n) {
        CursorList factorList{};
        ListCreate(factorList, sizeof(Long));
        FindPrimeFactors(factorList, n);
        CursorList divisorList{};
        ListCreate(divisorList, sizeof(Long));
        FindDivisors(factorList, divisorList, slots);
        std::vector<Long> found = ListValues(divisorList);
        std::sort(found.begin(), found.end());
        std::vector<Long> expected;
        for (Long d = 2; d <= n; ++d)
            if (n % d == 0) expected.push_back(d);
        ASSERT_EQ(found, expected) << n;
    }
}

TEST_F(DivisorsTest, EmptyFactorListReturnsZeroAtOnceWithoutSlots) {
    FakeTicksScript({10, 50});
    CursorList factorList{};
    ListCreate(factorList, sizeof(Long));
    CursorList divisorList{};
    ListCreate(divisorList, sizeof(Long));
    FactorSlot* slots = nullptr;
    const std::size_t live = FakeHeapLiveBlocks();
    EXPECT_EQ(FindDivisors(factorList, divisorList, slots), 0);
    EXPECT_EQ(slots, nullptr);
    EXPECT_EQ(FakeHeapLiveBlocks(), live);
    EXPECT_EQ(ListCount(divisorList), 0);
}

TEST_F(DivisorsTest, ReturnsTheWrappingDifferenceOfTwoTickCounts) {
    FakeTicksScript({0xFFFFFF00u, 0x00000100u});
    FactorSlot* slots = nullptr;
    CursorList factorList = ListOf({2, 3});
    CursorList divisorList{};
    ListCreate(divisorList, sizeof(Long));
    EXPECT_EQ(FindDivisors(factorList, divisorList, slots), 512);
}

TEST_F(DivisorsTest, SecondCallReleasesTheEarlierSlotArray) {
    FactorSlot* slots = nullptr;
    Divisors({2, 3}, slots);
    const std::size_t start = FakeHeapLog().size();
    EXPECT_EQ(Divisors({5, 5, 5}, slots), (std::vector<Long>{5, 25, 125}));
    const std::string log = FakeHeapLog().substr(start);
    EXPECT_EQ(std::count(log.begin(), log.end(), 'f'), 1);
    EXPECT_EQ(ArrayHeader(slots)->count, 3u);
}

TEST_F(DivisorsTest, SlotArrayThatCannotBeAllocatedEndsTheProcess) {
    EXPECT_EXIT_CODE(
        {
            CursorList factorList = ListOf({2, 2, 3});
            CursorList divisorList{};
            ListCreate(divisorList, sizeof(Long));
            FactorSlot* slots = nullptr;
            FakeHeapFailAt(1); // the slot array is the next allocation
            FindDivisors(factorList, divisorList, slots);
        },
        3, "out of memory");
}

} // namespace
