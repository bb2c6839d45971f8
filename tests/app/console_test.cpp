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

// Where standard input comes from and standard output goes, when not from and to files.
struct Streams {
    bool inputIsFolder = false;   // read from a directory: every read fails
    const char* output = nullptr; // a shell redirection of standard output instead of a file
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
        "timeout 60 '" + ProgramPath() + "' <'" + (streams.inputIsFolder ? base : base + "/in") +
        "' " + (streams.output ? streams.output : ">'" + base + "/out'") + " 2>'" + base + "/err'";
    const int status = std::system(command.c_str());
    Outcome run{ReadFile(base + "/out"), ReadFile(base + "/err"),
                WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    std::filesystem::remove_all(base);
    return run;
}

const std::string Prompt = std::string(InputCaption) + "\n" + InputPrompt + " ";

// The run showed what `example` shows: the prompt on standard error and the box, CR LF
// written as one newline, on standard output.
void ExpectShows(const Outcome& run, const WorkedExample& example) {
    EXPECT_EQ(run.err, Prompt);
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

TEST(ConsoleTest, WorkedExamples) {
    for (const WorkedExample& example : WorkedExamples) {
        SCOPED_TRACE(testing::PrintToString(std::string(example.entered)));
        ExpectShows(RunProgram(example.entered + std::string("\n")), example);
    }
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
