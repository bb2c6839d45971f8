// Conversions between decimal text and Long.
#include "runtime/os_numtext.h"
#include "runtime/strings.h"

#include <cstring>

Long TextToLong(const char* text) {
    if (!text) return 0;
    while (*text == ' ')
        ++text; // spaces only: a tab ends the number before it starts
    bool negative = false;
    if (*text == '-') {
        negative = true;
        ++text;
    } else if (*text == '+') {
        ++text;
    }
    ULong value = 0; // modulo 2^32, as the program's long arithmetic
    for (; *text >= '0' && *text <= '9'; ++text)
        value = value * 10u + static_cast<ULong>(*text - '0');
    return static_cast<Long>(negative ? 0u - value : value);
}

char* LongToText(Long value) {
    char text[LongTextSize];
    OsFormatLong(text, value);
    char* start = WorkspacePosition();
    WorkspaceAppend(text);
    return start;
}
