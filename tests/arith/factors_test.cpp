// Prime factorization by restarted trial division.
#include "arith/factors.h"
#include "fakes/fake_ticks.h"
#include "support/runtime_fixture.h"

namespace {

class FactorsTest : public RuntimeTest {};

std::vector<Long> Factors(Long n) {
    CursorList factorList{};
    ListCreate(factorList, sizeof(Long));
    FindPrimeFactors(factorList, n);
    EXPECT_EQ(factorList.cursor, factorList.header->last) << "cursor not on the last factor";
    return ListValues(factorList);
}

bool IsPrime(Long n) {
    if (n < 2) return false;
    for (Long d = 2; d * d <= n; ++d)
        if (n % d == 0) return false;
    return true;
}

TEST_F(FactorsTest, KnownFactorizations) {
    struct Case {
        Long n;
        std::vector<Long> factors;
    };
    // clang-format off
    const Case cases[] = {
        {2, {2}},
        {3, {3}},
        {4, {2, 2}},
        {12, {2, 2, 3}},
        {30, {2, 3, 5}},
        {97, {97}},
        {49, {7, 7}},               // a prime square
        {360, {2, 2, 2, 3, 3, 5}},
        {1 << 30, std::vector<Long>(30, 2)},
        {1000003, {1000003}},       // a prime: a million divisions
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(Factors(c.n), c.factors);
    }
}

// Every n from 2 to 3000: the factors are prime, non-decreasing and multiply to n.
TEST_F(FactorsTest, FactorsArePrimeAscendingAndMultiplyToTheInput) {
    for (Long n = 2; n <= 3000; ++n) {
        const std::vector<Long> factors = Factors(n);
        Long product = 1;
        for (std::size_t i = 0; i < factors.size(); ++i) {
            ASSERT_TRUE(IsPrime(factors[i])) << n << ": " << factors[i];
            if (i > 0) {
                ASSERT_LE(factors[i - 1], factors[i]) << n;
            }
            product *= factors[i];
        }
        ASSERT_EQ(product, n);
    }
}

TEST_F(FactorsTest, ReturnsTheWrappingDifferenceOfTwoTickCounts) {
    struct Case {
        ULong start;
        ULong end;
        Long elapsed;
    };
    // clang-format off
    const Case cases[] = {
        {100, 100, 0},                 // within one tick
        {5, 1005, 1000},
        {0xFFFFFFF0u, 0x10u, 32},      // across the wrap of the tick count
        {0xFFFFFFFFu, 0u, 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.elapsed);
        FakeTicksScript({c.start, c.end});
        CursorList factorList{};
        ListCreate(factorList, sizeof(Long));
        EXPECT_EQ(FindPrimeFactors(factorList, 12), c.elapsed);
    }
}

} // namespace
