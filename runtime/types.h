// Integer widths of the program and the wrap-around arithmetic on them.
#pragma once

#include <cassert>
#include <cstdint>

// The program's 32-bit signed integer; all arithmetic on it wraps modulo 2^32.
using Long = std::int32_t;
using ULong = std::uint32_t;

static_assert(sizeof(Long) == 4 && sizeof(ULong) == 4, "Long must be exactly 32 bits");

// Signed overflow is undefined in C++, so wrapping goes through ULong; the conversion back is
// defined (modulo 2^32) since C++20.
constexpr Long WrapAdd(Long a, Long b) {
    return static_cast<Long>(static_cast<ULong>(a) + static_cast<ULong>(b));
}
constexpr Long WrapSub(Long a, Long b) {
    return static_cast<Long>(static_cast<ULong>(a) - static_cast<ULong>(b));
}
constexpr Long WrapMul(Long a, Long b) {
    return static_cast<Long>(static_cast<ULong>(a) * static_cast<ULong>(b));
}
constexpr Long WrapNeg(Long a) {
    return static_cast<Long>(0u - static_cast<ULong>(a));
}

// Truncating division. INT32_MIN / -1 traps on x86; wrapped, it is INT32_MIN again.
constexpr Long WrapDiv(Long a, Long b) {
    assert(b != 0 && "division by zero");
    return b == -1 ? WrapNeg(a) : a / b;
}

// Remainder of the truncating division; every value is a multiple of -1.
constexpr Long WrapRem(Long a, Long b) {
    assert(b != 0 && "division by zero");
    return b == -1 ? 0 : a % b;
}
