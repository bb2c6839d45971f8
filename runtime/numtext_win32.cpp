// Decimal text of a Long through USER32's wvsprintfA.
#include "runtime/os_numtext.h"

#include <cstdarg>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

int FormatVa(char* out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int written = ::wvsprintfA(out, format, args);
    va_end(args);
    return written;
}

} // namespace

int OsFormatLong(char* out, Long value) {
    static_assert(sizeof(long) == sizeof(Long), "%ld takes a 32-bit long on Win32");
    return FormatVa(out, "%ld", static_cast<long>(value));
}
