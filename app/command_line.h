// The command line of the Linux editions, as Linux users expect of a command: --help,
// --version and, for the console edition, the entry itself.
#pragma once

// What one edition's command line takes.
struct CommandLineEdition {
    const char* name;  // the command, as messages name it
    const char* usage; // the text --help prints, ending in a newline
    bool takesEntry;   // one argument may be the entry, answered without a prompt
};

// Exit code of a command line that the edition does not take, as GNU tools give it.
inline constexpr unsigned ExitUsage = 2;

// Reads `argv`. --help (or -h) prints the edition's usage, --version its name, version and
// copyright, both on standard output, and ends the process with 0 (with 1 and a line on
// standard error if that output fails). An unknown option, a second entry, or an entry where
// the edition takes none, ends it with ExitUsage and two lines on standard error, nothing on
// standard output. Returns the entry: the one argument that is no option ("-" followed by a
// digit is a negative number, and everything after "--" is taken as it is), or null if none.
const char* CommandLineEntry(int argc, char** argv, const CommandLineEdition& edition);
