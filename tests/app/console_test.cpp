// The console edition end to end: the built program run with a given standard input.
#include "support/worked_examples.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Outcome {
    std::string out;
    std::string err;
    int exitCode;
};

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Where standard input comes from and standard output goes, when not from and to files, and
// the command line.
struct Streams {
    bool inputIsFolder = false;    // read from a directory: every read fails
    const char* output = nullptr;  // a shell redirection of standard output instead of a file
    std::string arguments = "";    // shell words after the program's name
    const char* program = nullptr; // another program of the build than the console edition
};

// The program under test: PRIMTEILER_PROGRAM when set (an installed copy), else the one built.
std::string ProgramPath() {
    const char* path = std::getenv("PRIMTEILER_PROGRAM");
    return path && *path ? path : PRIMTEILER_EXE;
}

// Runs the program with `input` as its standard input, in a scratch folder under TMPDIR; a run
// past a minute is stopped and fails.
Outcome RunProgram(const std::string& input, Streams streams = {}) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/primteiler-e2e-XXXXXX";
    if (!mkdtemp(pattern.data())) return {"", "mkdtemp failed", -1};
    const std::string base = pattern;
    std::ofstream(base + "/in", std::ios::binary) << input;
    const std::string command =
        "timeout 60 '" + (streams.program ? streams.program : ProgramPath()) + "' " +
        streams.arguments + " <'" + (streams.inputIsFolder ? base : base + "/in") + "' " +
        (streams.output ? streams.output : ">'" + base + "/out'") + " 2>'" + base + "/err'";
    const int status = std::system(command.c_str());
    Outcome run{ReadFile(base + "/out"), ReadFile(base + "/err"),
                WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    std::filesystem::remove_all(base);
    return run;
}

const std::string Prompt = std::string(InputCaption) + "\n" + InputPrompt + " ";

// The run showed what `example` shows: the prompt on standard error (unless the command line
// gave the entry) and the box, CR LF written as one newline, on standard output.
void ExpectShows(const Outcome& run, const WorkedExample& example, bool prompted = true) {
    EXPECT_EQ(run.err, prompted ? Prompt : "");
    EXPECT_EQ(run.exitCode, 0);
    switch (example.shows) {
    case Shows::Report:
        EXPECT_TRUE(
            std::regex_match(run.out, std::regex(std::string(ReportCaption) + "\n" +
                                                 WorkedReportPattern(example, "\n") + "\n")))
            << run.out;
        break;
    case Shows::Error:
        EXPECT_EQ(run.out, std::string(ErrorCaption) + "\n" + ErrorText + "\n");
        break;
    case Shows::Nothing:
        EXPECT_EQ(run.out, "");
        break;
    }
}

// Typed, or given as the command line's one argument, which is read as the same line.
TEST(ConsoleTest, WorkedExamples) {
    for (const WorkedExample& example : WorkedExamples) {
        SCOPED_TRACE(testing::PrintToString(std::string(example.entered)));
        ExpectShows(RunProgram(example.entered + std::string("\n")), example);
        const std::string argument = std::string(" '") + example.entered + "'";
        ExpectShows(RunProgram("99\n", {.arguments = argument}), example, false);
        ExpectShows(RunProgram("", {.arguments = " --" + argument}), example, false);
    }
}

// What a command line gave: the start of standard output (all of it when empty), standard error
// and the exit status.
struct CommandLineCase {
    std::string arguments;
    std::string out;
    std::string err;
    int exitCode;
    const char* output = nullptr; // as in Streams
};

void ExpectAnswers(const char* program, const std::vector<CommandLineCase>& cases) {
    for (const CommandLineCase& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome run =
            RunProgram("12\n", {.output = c.output, .arguments = c.arguments, .program = program});
        EXPECT_EQ(run.out.substr(0, c.out.size()), c.out);
        if (c.out.empty()) {
            EXPECT_EQ(run.out, "");
        }
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.exitCode, c.exitCode);
    }
}

const std::string Version = " " PRIMTEILER_VERSION "\n";

// --help and --version answer on standard output; anything the command does not take is a
// usage error, said on standard error alone.
TEST(ConsoleTest, CommandLine) {
    const std::string hint = "Weitere Informationen mit 'primteiler --help'.\n";
    // clang-format off
    ExpectAnswers(nullptr, {
        {"--help", "Aufruf: primteiler [ZAHL]\n", "", 0},
        {"-h 12", "Aufruf: primteiler [ZAHL]\n", "", 0},
        {"--version", "primteiler" + Version, "", 0},
        {"--help", "", "primteiler: write error: No space left on device\n", 1, ">/dev/full"},
        {"--bogus", "", "primteiler: unbekannte Option '--bogus'\n" + hint, 2},
        {"-x 12", "", "primteiler: unbekannte Option '-x'\n" + hint, 2},
        {"12 13", "", "primteiler: eine Zahl zu viel '13'\n" + hint, 2},
        {"-5 --", "ERROR\n", "", 0}, // a negative number, not an option
        {"-- --help", "ERROR\n", "", 0},
    });
    // clang-format on
}

// The desktop edition's command line, and its end where there is no display.
TEST(ConsoleTest, DesktopCommandLine) {
    const std::string desktop = PRIMTEILER_DESKTOP_EXE;
    if (desktop.empty()) GTEST_SKIP() << "no desktop edition in this build (GTK 3 not found)";
    // clang-format off
    ExpectAnswers(desktop.c_str(), {
        {"--help", "Aufruf: primteiler-gtk\n", "", 0},
        {"--version", "primteiler-gtk" + Version, "", 0},
        {"12", "", "primteiler-gtk: unerwartetes Argument '12'\n"
                   "Weitere Informationen mit 'primteiler-gtk --help'.\n", 2},
    });
    ExpectAnswers("env", {
        {"-u DISPLAY -u WAYLAND_DISPLAY '" + desktop + "'", "",
         "primteiler-gtk: cannot open display: neither DISPLAY nor WAYLAND_DISPLAY is set\n", 1},
    });
    // clang-format on
}

// The times come from a real clock: a factorization of seconds (2^31 - 2 divisions) reports
// about as long as the whole run took, neither 0 nor a thousandth or a thousandfold of it.
TEST(ConsoleTest, ReportedTimeIsTheTimeTheRunTook) {
    const auto before = std::chrono::steady_clock::now();
    const Outcome run = RunProgram("2147483647\n");
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now() - before)
                          .count();
    std::smatch reported;
    ASSERT_TRUE(std::regex_search(run.out, reported,
                                  std::regex("\nPrimfaktoren \\(([0-9]+) ms\\)\n1, 2147483647\n")))
        << run.out;
    const long long factorMs = std::stoll(reported[1].str());
    EXPECT_GT(factorMs, 0);
    EXPECT_LE(factorMs, took);
    EXPECT_GE(2 * factorMs, took) << "the factorization is nearly all of the run";
}

// How a line is read: its end, what follows it, and the 9999 bytes kept of it.
TEST(ConsoleTest, LineIsReadAsTheEntry) {
    struct Case {
        const char* name;
        std::string input;
        const char* showsAs; // the worked example whose box appears
    };
    // clang-format off
    const Case cases[] = {
        {"CR LF line end", "12\r\n", "12"},
        {"no line end", "12", "12"},
        {"one line only is read", "12\n99\n", "12"},
        {"end of input", "", ""},
        {"CR LF alone", "\r\n", ""},
        {"empty first line", "\n12\n", ""},
        {"digits cut at the limit", LongEntry() + "\n", LongEntryShowsAs},
        {"only blanks within the limit", std::string(EntryLimit, ' ') + "7\n", " "},
        {"long tail after the number", "12" + std::string(50000, 'x') + "\n", "12"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectShows(RunProgram(c.input), WorkedExampleFor(c.showsAs));
    }
}

// A lost report or an unreadable entry must not look like a success to a calling script.
TEST(ConsoleTest, FailedInputOrOutputEndsWithExitCodeOne) {
    struct Case {
        const char* name;
        const char* input;
        Streams streams;
        const char* message; // on standard error after the prompt; empty for none
        int exitCode;
    };
    // clang-format off
    const Case cases[] = {
        {"report to a full disk", "360\n", {false, ">/dev/full"},
         "primteiler: write error: No space left on device\n", 1},
        {"error box to a full disk", "abc\n", {false, ">/dev/full"},
         "primteiler: write error: No space left on device\n", 1},
        {"quiet end writes nothing", "\n", {false, ">/dev/full"}, "", 0},
        {"report to a closed output", "360\n", {false, ">&-"},
         "primteiler: write error: Bad file descriptor\n", 1},
        {"quiet end with the output closed", "\n", {false, ">&-"}, "", 0},
        {"input from a folder", "", {true, nullptr}, "primteiler: read error: Is a directory\n", 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome run = RunProgram(c.input, c.streams);
        EXPECT_EQ(run.err, Prompt + c.message);
        EXPECT_EQ(run.exitCode, c.exitCode);
        if (c.streams.inputIsFolder) {
            EXPECT_EQ(run.out, "") << "no box after a read error";
        }
    }
}

} // namespace
