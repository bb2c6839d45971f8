// Fuzz target: TextToLong and InputDigitsFit on arbitrary bytes, against a model of the rules of
// an entered number written digit by digit.
#include "app/input.h"
#include "fuzz/fuzz_check.h"
#include "runtime/strings.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace {

struct Reading {
    bool negative;
    std::string digits; // the run of digits as written, leading zeros included
};

// Spaces (byte 32 only), at most one sign, then the run of digits; anything else ends it.
Reading ModelRead(const char* text) {
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
Long ModelValue(const Reading& reading) {
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
bool ModelFits(const Reading& reading) {
    const std::size_t first = reading.digits.find_first_not_of('0');
    if (first == std::string::npos) return true;
    const std::string significant = reading.digits.substr(first);
    if (significant.size() != 10) return significant.size() < 10;
    return significant <= "2147483647";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Exactly the bytes and a NUL, so that reading past the text's end is caught; a NUL among
    // the bytes ends the text early, as it does for the program.
    const auto text = std::make_unique<char[]>(size + 1);
    if (size != 0) std::memcpy(text.get(), data, size);
    text[size] = '\0';

    const Reading reading = ModelRead(text.get());
    FuzzCheck(TextToLong(text.get()) == ModelValue(reading), "TextToLong differs from the model");
    FuzzCheck(InputDigitsFit(text.get()) == ModelFits(reading),
              "InputDigitsFit differs from the model");
    return 0;
}
