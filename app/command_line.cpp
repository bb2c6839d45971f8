// The Linux editions' command line.
#include "app/command_line.h"

#include "ui/requesters.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

[[noreturn]] void UsageError(const CommandLineEdition& edition, const char* what,
                             const char* argument) {
    std::fprintf(stderr, "%s: %s '%s'\nWeitere Informationen mit '%s --help'.\n", edition.name,
                 what, argument, edition.name);
    std::exit(static_cast<int>(ExitUsage));
}

// Ends the process once what was written to standard output is out: a lost answer is no
// success.
[[noreturn]] void Answered(const CommandLineEdition& edition) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "%s: write error: %s\n", edition.name, std::strerror(errno));
        std::exit(static_cast<int>(ExitConsoleFailed));
    }
    std::exit(0);
}

bool IsOption(const char* argument) {
    return argument[0] == '-' && argument[1] != '\0' && (argument[1] < '0' || argument[1] > '9');
}

} // namespace

const char* CommandLineEntry(int argc, char** argv, const CommandLineEdition& edition) {
    const char* entry = nullptr;
    bool options = true; // until "--"
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (options && IsOption(argument)) {
            if (std::strcmp(argument, "--") == 0) {
                options = false;
            } else if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
                errno = 0;
                std::fputs(edition.usage, stdout);
                Answered(edition);
            } else if (std::strcmp(argument, "--version") == 0) {
                errno = 0;
                std::printf("%s %s\n%s\nLizenz: MIT\n", edition.name, PRIMTEILER_VERSION,
                            PRIMTEILER_COPYRIGHT);
                Answered(edition);
            } else {
                UsageError(edition, "unbekannte Option", argument);
            }
        } else if (!edition.takesEntry) {
            UsageError(edition, "unerwartetes Argument", argument);
        } else if (entry) {
            UsageError(edition, "eine Zahl zu viel", argument);
        } else {
            entry = argument;
        }
    }
    return entry;
}
