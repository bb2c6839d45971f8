// Decimal text of a Long, written as wvsprintfA's "%ld" writes it: a minus sign when negative,
// no leading zeros, no padding, no grouping.
#include "runtime/os_numtext.h"

int OsFormatLong(char* out, Long value) {
    // The magnitude of INT32_MIN does not fit in a Long; it does in a ULong.
    ULong magnitude = value < 0 ? 0u - static_cast<ULong>(value) : static_cast<ULong>(value);
    char digits[10];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10u);
        magnitude /= 10u;
    } while (magnitude != 0);
    int length = 0;
    if (value < 0) out[length++] = '-';
    while (count > 0)
        out[length++] = digits[--count];
    out[length] = '\0';
    return length;
}
