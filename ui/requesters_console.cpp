// Console stand-in for the requesters: the input requester reads a line from standard input
// (its caption and prompt go to standard error, so piped output stays clean), or takes the one
// the command line gave, and the note writes to standard output. Unlike the input window it cannot
// offer a preset text for editing; it ignores it (the program passes the empty one).
//
// A console can fail where a window cannot: a read error is not a cancelled entry, and a report
// that did not reach standard output is not a success. Either ends the process at once with
// ExitConsoleFailed and one line on standard error. A closed pipe keeps the default SIGPIPE.
#include "ui/requesters_console.h"
#include "runtime/strings.h"
#include "ui/requesters.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* givenEntry; // the command line's entry, read in place of standard input

[[noreturn]] void ConsoleFailed(const char* what, int error) {
    if (error)
        std::fprintf(stderr, "primteiler: %s error: %s\n", what, std::strerror(error));
    else
        std::fprintf(stderr, "primteiler: %s error\n", what);
    std::fflush(stderr);
    std::_Exit(static_cast<int>(ExitConsoleFailed));
}

// At exit: a file system may report a lost write only when the stream is closed. Every note
// flushes, so nothing is pending here; a standard output that was never open (EBADF) lost
// nothing. It runs after any exit, so a failed close turns even the out-of-memory code into 1.
void CloseStandardOutput() {
    errno = 0;
    if (std::fclose(stdout) != 0 && errno != EBADF) ConsoleFailed("write", errno);
}

} // namespace

void ConsoleEntryGiven(const char* entry) {
    givenEntry = entry;
}

void RequesterStart(void* /*instance: no window class here*/) {
    std::atexit(CloseStandardOutput);
}

char* InputRequester(const char* caption, const char* prompt, const char* /*presetText*/) {
    char* result = WorkspacePosition();
    const char* given = givenEntry;
    if (!given) {
        std::fprintf(stderr, "%s\n%s ", caption, prompt);
        std::fflush(stderr);
    }
    // The given entry goes through the same reading as a typed line, so that both show the same.
    const auto next = [&given]() -> int {
        if (!given) return std::getchar();
        return *given ? static_cast<unsigned char>(*given++) : EOF;
    };

    const std::size_t room = WorkspaceRoom();
    const std::size_t limit = (room < InputLimit ? room : InputLimit) - 1; // bytes before NUL
    std::size_t kept = 0;
    const auto keep = [&](int byte) {
        if (kept < limit) result[kept++] = static_cast<char>(byte); // the rest is dropped
    };
    bool carriageReturn = false; // a CR waits: it belongs to the text unless LF follows
    int byte;
    errno = 0;
    while ((byte = next()) != EOF && byte != '\n') {
        if (carriageReturn) keep('\r');
        carriageReturn = byte == '\r';
        if (!carriageReturn) keep(byte);
    }
    if (byte == EOF && !givenEntry && std::ferror(stdin)) ConsoleFailed("read", errno); // no cancel
    if (carriageReturn && byte == EOF) keep('\r'); // a CR alone ends no line
    result[kept] = '\0';
    WorkspaceAdvance(kept);
    return result;
}

int NoteRequester(const char* caption, const char* text, ULong /*flags: one OK answer*/) {
    errno = 0;
    std::fputs(caption, stdout);
    std::fputc('\n', stdout);
    for (const char* at = text; *at; ++at) {
        if (at[0] == '\r' && at[1] == '\n') continue; // CR LF is written as one newline
        std::fputc(*at, stdout);
    }
    std::fputc('\n', stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) ConsoleFailed("write", errno);
    return 1; // IDOK
}
