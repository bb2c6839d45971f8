// A model of how an entered number is read, written digit by digit, for the fuzz targets.
#pragma once

#include "runtime/types.h"

#include <cstddef>
#include <cstdint>
#include <string>

struct Reading {
    bool negative;
    std::string digits; // the run of digits as written, leading zeros included
};

// Spaces (byte 32 only), at most one sign, then the run of digits; anything else ends it.
inline Reading ModelRead(const char* text) {
    std::size_t at = 0;
    while (text[at] == ' ')
        ++at;
    Reading reading{text[at] == '-', ""};
    if (text[at] == '-' || text[at] == '+') ++at;
    while (text[at] >= '0' && text[at] <= '9')
        reading.digits += text[at++];
    return reading;
}

// The sum of digit * 10^place modulo 2^32, places counted from the last digit; then the sign,
// also modulo 2^32.
inline Long ModelValue(const Reading& reading) {
    constexpr std::uint64_t Modulus = std::uint64_t{1} << 32;
    std::uint64_t value = 0;
    std::uint64_t place = 1; // 10^k modulo 2^32
    for (auto digit = reading.digits.rbegin(); digit != reading.digits.rend(); ++digit) {
        value = (value + static_cast<std::uint64_t>(*digit - '0') * place) % Modulus;
        place = place * 10 % Modulus;
    }
    if (reading.negative) value = (Modulus - value) % Modulus;
    return static_cast<Long>(static_cast<ULong>(value));
}

// Whether the digits, leading zeros aside, are at most 2147483647: compared as text.
inline bool ModelFits(const Reading& reading) {
    const std::size_t first = reading.digits.find_first_not_of('0');
    if (first == std::string::npos) return true;
    const std::string significant = reading.digits.substr(first);
    if (significant.size() != 10) return significant.size() < 10;
    return significant <= "2147483647";
}
