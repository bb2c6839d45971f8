// The range check of entered digits.
#include "app/input.h"

#include <gtest/gtest.h>

namespace {

TEST(InputTest, DigitsFitWhenTheirValueIsAtMost2To31Minus1) {
    struct Case {
        const char* text;
        bool fits;
    };
    // clang-format off
    const Case cases[] = {
        {"12", true},
        {"", true},
        {"abc", true},               // no digits: value 0
        {"2147483647", true},
        {"0002147483647", true},     // leading zeros add nothing
        {"  +2147483647x", true},
        {"-2147483647", true},
        {"2147483648", false},       // 2^31
        {"-2147483648", false},
        {"4294967308", false},       // 2^32 + 12, which wraps to 12
        {" 99999999999999999999999999", false},
        {"12 99999999999", true},    // digits after a space are not read
        {"\t99999999999", true},     // nor after a tab
        {"--99999999999", true},     // nor after a second sign
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(InputDigitsFit(c.text), c.fits);
    }
}

} // namespace
