// Range check of the entered digits.
#include "app/input.h"

#include <cstdint>

bool InputDigitsFit(const char* text) {
    while (*text == ' ')
        ++text; // the same skipping as TextToLong
    if (*text == '-' || *text == '+') ++text;
    std::uint64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10u + static_cast<std::uint64_t>(*text - '0');
        if (value > INT32_MAX) return false; // stops before the 64 bits could overflow
    }
    return true;
}
