// Console stand-in for the requesters: the input requester reads a line from standard input
// (its caption and prompt go to standard error, so piped output stays clean) and the note
// writes to standard output. Unlike the input window it cannot offer a preset text for
// editing; it ignores it (the program passes the empty one).
#include "runtime/strings.h"
#include "ui/requesters.h"

#include <cstdio>

namespace {

// The input window's edit field holds at most this many bytes, its NUL included.
constexpr std::size_t InputLimit = 10000;

} // namespace

void RequesterStart(void* /*instance: no window class here*/) {}

char* InputRequester(const char* caption, const char* prompt, const char* /*presetText*/) {
    char* result = WorkspacePosition();
    std::fprintf(stderr, "%s\n%s ", caption, prompt);
    std::fflush(stderr);

    const std::size_t room = WorkspaceRoom();
    const std::size_t limit = (room < InputLimit ? room : InputLimit) - 1; // bytes before NUL
    std::size_t kept = 0;
    const auto keep = [&](int byte) {
        if (kept < limit) result[kept++] = static_cast<char>(byte); // the rest is dropped
    };
    bool carriageReturn = false; // a CR waits: it belongs to the text unless LF follows
    int byte;
    while ((byte = std::getchar()) != EOF && byte != '\n') {
        if (carriageReturn) keep('\r');
        carriageReturn = byte == '\r';
        if (!carriageReturn) keep(byte);
    }
    if (carriageReturn && byte == EOF) keep('\r'); // a CR alone ends no line
    result[kept] = '\0';
    WorkspaceAdvance(kept);
    return result;
}

int NoteRequester(const char* caption, const char* text, ULong /*flags: one OK answer*/) {
    std::fputs(caption, stdout);
    std::fputc('\n', stdout);
    for (const char* at = text; *at; ++at) {
        if (at[0] == '\r' && at[1] == '\n') continue; // CR LF is written as one newline
        std::fputc(*at, stdout);
    }
    std::fputc('\n', stdout);
    std::fflush(stdout);
    return 1; // IDOK
}
