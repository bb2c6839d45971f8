// Fuzz target: TextToLong and InputDigitsFit on arbitrary bytes, against a model of the rules of
// an entered number written digit by digit.
#include "app/input.h"
#include "fuzz/entry_model.h"
#include "fuzz/fuzz_check.h"
#include "runtime/strings.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

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
