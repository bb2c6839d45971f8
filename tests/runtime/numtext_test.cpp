// Conversions between decimal text and Long.
#include "support/runtime_fixture.h"

#include <climits>
#include <string>

namespace {

class NumTextTest : public RuntimeTest {};

TEST(TextToLongTest, ReadsSpacesOneSignAndDigitsModulo2To32) {
    struct Case {
        const char* text;
        Long expected;
    };
    // clang-format off
    const Case cases[] = {
        {"12", 12},
        {"  -7", -7},
        {"+5x", 5},
        {"007", 7},
        {"abc", 0},
        {"", 0},
        {"- 5", 0},            // the sign must touch the digits
        {"\t5", 0},            // only spaces are skipped
        {"-0", 0},
        {" 12abc", 12},
        {"--5", 0},            // one sign only
        {"+-5", 0},
        {"-+5", 0},
        {"  +12", 12},
        {"1 2", 1},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MIN},   // 2^31
        {"-2147483648", INT32_MIN},
        {"4294967295", -1},
        {"4294967296", 0},           // 2^32
        {"4294967308", 12},          // 2^32 + 12
        {"99999999999", 1215752191},
        {"100000000000000000000", 1661992960},  // 10^20
        {"-100000000000000000000", -1661992960},
        {"12\r", 12},
        {"9\xff", 9},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TextToLong(c.text), c.expected);
    }
    EXPECT_EQ(TextToLong(nullptr), 0);
}

TEST_F(NumTextTest, LongToTextWritesSignedDecimalAtThePosition) {
    struct Case {
        Long value;
        const char* expected;
    };
    // clang-format off
    const Case cases[] = {
        {0, "0"},
        {-15, "-15"},
        {INT32_MAX, "2147483647"},
        {INT32_MIN, "-2147483648"},
        {7, "7"},
        {-1, "-1"},
        {1000000, "1000000"},
        {10, "10"},
    };
    // clang-format on
    WorkspaceAppend("x");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        char* start = WorkspacePosition();
        char* text = LongToText(c.value);
        EXPECT_EQ(text, start);
        EXPECT_STREQ(text, c.expected);
        EXPECT_EQ(WorkspacePosition(), start + std::string(c.expected).size());
        WorkspaceRewind(start);
    }
    EXPECT_EQ(WorkspaceBase()[0], 'x') << "text before the position must stay";
}

TEST_F(NumTextTest, TextOfEveryKindOfValueReadsBackToIt) {
    // Values spread over the whole range, both ends and the powers of ten included.
    std::vector<Long> values{INT32_MIN, INT32_MIN + 1, INT32_MAX, INT32_MAX - 1, 0, 1, -1};
    for (Long power = 1; power <= 1000000000; power *= 10) {
        values.insert(values.end(), {power, power - 1, -power, 1 - power});
        if (power == 1000000000) break;
    }
    for (ULong bits = 0x9E3779B9u, i = 0; i < 2000; ++i, bits = bits * 1664525u + 1013904223u)
        values.push_back(static_cast<Long>(bits));
    for (Long value : values) {
        char* start = WorkspacePosition();
        const char* text = LongToText(value);
        ASSERT_EQ(TextToLong(text), value) << text;
        ASSERT_EQ(std::to_string(value), text);
        WorkspaceRewind(start);
    }
}

} // namespace
