// The console edition end to end: the built program run with a given standard input.
#include <gtest/gtest.h>

#include <algorithm>
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
    const char* output = nullptr; // a path to write to instead of a file
};

// Runs the program with `input` as its standard input, in a scratch folder under TMPDIR.
Outcome RunProgram(const std::string& input, Streams streams = {}) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/primteiler-e2e-XXXXXX";
    if (!mkdtemp(pattern.data())) return {"", "mkdtemp failed", -1};
    const std::string base = pattern;
    std::ofstream(base + "/in", std::ios::binary) << input;
    const char* program = std::getenv("PRIMTEILER_PROGRAM"); // an installed copy instead
    const std::string command = std::string("'") + (program ? program : PRIMTEILER_EXE) + "' <'" +
                                (streams.inputIsFolder ? base : base + "/in") + "' >'" +
                                (streams.output ? streams.output : base + "/out") + "' 2>'" + base +
                                "/err'";
    const int status = std::system(command.c_str());
    Outcome run{ReadFile(base + "/out"), ReadFile(base + "/err"),
                WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    std::filesystem::remove_all(base);
    return run;
}

// The report on standard output with any times accepted.
std::regex ReportPattern(const std::string& factorLine, const std::string& divisorLine) {
    return std::regex("Primfaktoren / Teiler\nPrimfaktoren \\([0-9]+ ms\\)\n" + factorLine +
                      "\n\nTeiler \\([0-9]+ ms\\)\n" + divisorLine + "\n");
}

TEST(ConsoleTest, ReportsFactorsAndDivisors) {
    struct Case {
        const char* input;
        const char* factorLine;
        const char* divisorLine;
    };
    // clang-format off
    const Case cases[] = {
        {"12\n", "1, 2, 2, 3", "1, 2, 4, 3, 6, 12"},
        {"97\n", "1, 97", "1, 97"},
        {"2\n", "1, 2", "1, 2"},
        {"30\n", "1, 2, 3, 5", "1, 2, 3, 6, 5, 10, 15, 30"},
        {"360\n", "1, 2, 2, 2, 3, 3, 5",
         "1, 2, 4, 8, 3, 6, 12, 24, 9, 18, 36, 72, 5, 10, 20, 40, 15, 30, 60, 120, 45, 90, 180, 360"},
        {" 12abc\n", "1, 2, 2, 3", "1, 2, 4, 3, 6, 12"},
        {"+7\n", "1, 7", "1, 7"},
        {"12\r\n", "1, 2, 2, 3", "1, 2, 4, 3, 6, 12"},       // CR LF line end
        {"12", "1, 2, 2, 3", "1, 2, 4, 3, 6, 12"},           // no line end at all
        {"12\n99\n", "1, 2, 2, 3", "1, 2, 4, 3, 6, 12"},     // one line only is read
        {"0000000000012\n", "1, 2, 2, 3", "1, 2, 4, 3, 6, 12"},
        {"2147483646\n", "1, 2, 3, 3, 7, 11, 31, 151, 331",   // 2^31 - 2, the largest even Long
         "1, 2, 3, 6, 9, 18, 7, 14, 21, 42, 63, 126, 11, 22, 33, 66, 99, 198, 77, 154, 231, 462, "
         "693, 1386, 31, 62, 93, 186, 279, 558, 217, 434, 651, 1302, 1953, 3906, 341, 682, 1023, "
         "2046, 3069, 6138, 2387, 4774, 7161, 14322, 21483, 42966, 151, 302, 453, 906, 1359, 2718, "
         "1057, 2114, 3171, 6342, 9513, 19026, 1661, 3322, 4983, 9966, 14949, 29898, 11627, "
         "23254, 34881, 69762, 104643, 209286, 4681, 9362, 14043, 28086, 42129, 84258, 32767, "
         "65534, 98301, 196602, 294903, 589806, 51491, 102982, 154473, 308946, 463419, 926838, "
         "360437, 720874, 1081311, 2162622, 3243933, 6487866, 331, 662, 993, 1986, 2979, 5958, "
         "2317, 4634, 6951, 13902, 20853, 41706, 3641, 7282, 10923, 21846, 32769, 65538, 25487, "
         "50974, 76461, 152922, 229383, 458766, 10261, 20522, 30783, 61566, 92349, 184698, 71827, "
         "143654, 215481, 430962, 646443, 1292886, 112871, 225742, 338613, 677226, 1015839, "
         "2031678, 790097, 1580194, 2370291, 4740582, 7110873, 14221746, 49981, 99962, 149943, "
         "299886, 449829, 899658, 349867, 699734, 1049601, 2099202, 3148803, 6297606, 549791, "
         "1099582, 1649373, 3298746, 4948119, 9896238, 3848537, 7697074, 11545611, 23091222, "
         "34636833, 69273666, 1549411, 3098822, 4648233, 9296466, 13944699, 27889398, 10845877, "
         "21691754, 32537631, 65075262, 97612893, 195225786, 17043521, 34087042, 51130563, "
         "102261126, 153391689, 306783378, 119304647, 238609294, 357913941, 715827882, "
         "1073741823, 2147483646"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        const Outcome run = RunProgram(c.input);
        EXPECT_TRUE(std::regex_match(run.out, ReportPattern(c.factorLine, c.divisorLine)))
            << run.out;
        EXPECT_EQ(run.exitCode, 0);
    }
}

TEST(ConsoleTest, PromptGoesToStandardErrorAndTheReportToStandardOutput) {
    const Outcome run = RunProgram("12\n");
    EXPECT_EQ(run.err, "Primfaktoren / Teiler suchen...\nBitte Zahl eingeben: ");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 6) << run.out;
    EXPECT_EQ(run.out.find('\r'), std::string::npos) << "CR LF is written as one newline";
}

TEST(ConsoleTest, ValuesBelowTwoAndOutOfRangeDigitsShowTheErrorBox) {
    // clang-format off
    const char* const inputs[] = {
        "0\n", "1\n", "-5\n", "-0\n", "abc\n", "\t5\n", "   \n", "- 5\n",
        "-2147483648\n",      // digits of 2^31 read as -2^31
        "2147483648\n",       // 2^31
        "4294967308\n",       // 2^32 + 12 would be taken as 12
        "99999999999999999999\n",
    };
    // clang-format on
    for (const char* input : inputs) {
        SCOPED_TRACE(input);
        const Outcome run = RunProgram(input);
        EXPECT_EQ(run.out, "ERROR\nFalscher Zahlenwert\n");
        EXPECT_EQ(run.exitCode, 0);
    }
}

TEST(ConsoleTest, EmptyEntryOrEndOfInputEndsQuietly) {
    for (const char* input : {"", "\n", "\r\n", "\n12\n"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(input)));
        const Outcome run = RunProgram(input);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.exitCode, 0);
    }
}

TEST(ConsoleTest, OverLongLineKeepsItsFirst9999Bytes) {
    struct Case {
        const char* name;
        std::string input;
        const char* factorLine; // null: the error box
    };
    const std::string spaces(9997, ' ');
    const Case cases[] = {
        // 9997 spaces and "12" fill the 9999 bytes; "35" is beyond them.
        {"digits cut at the limit", spaces + "1235\n", "1, 2, 2, 3"},
        {"number just inside", spaces + "7\n", "1, 7"},
        {"number beyond the limit", spaces + "  7\n", nullptr},
        {"long tail after the number", "12" + std::string(50000, 'x') + "\n", "1, 2, 2, 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome run = RunProgram(c.input);
        if (c.factorLine) {
            EXPECT_NE(run.out.find(std::string("\n") + c.factorLine + "\n"), std::string::npos)
                << run.out;
        } else {
            EXPECT_EQ(run.out, "ERROR\nFalscher Zahlenwert\n");
        }
        EXPECT_EQ(run.exitCode, 0);
    }
}

// A lost report or an unreadable entry must not look like a success to a calling script.
TEST(ConsoleTest, FailedInputOrOutputEndsWithExitCodeOne) {
    const std::string prompt = "Primfaktoren / Teiler suchen...\nBitte Zahl eingeben: ";
    struct Case {
        const char* name;
        const char* input;
        Streams streams;
        const char* message; // on standard error after the prompt; empty for none
        int exitCode;
    };
    // clang-format off
    const Case cases[] = {
        {"report to a full disk", "360\n", {false, "/dev/full"},
         "primteiler: write error: No space left on device\n", 1},
        {"error box to a full disk", "abc\n", {false, "/dev/full"},
         "primteiler: write error: No space left on device\n", 1},
        {"quiet end writes nothing", "\n", {false, "/dev/full"}, "", 0},
        {"input from a folder", "", {true, nullptr}, "primteiler: read error: Is a directory\n", 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome run = RunProgram(c.input, c.streams);
        EXPECT_EQ(run.err, prompt + c.message);
        EXPECT_EQ(run.exitCode, c.exitCode);
        if (c.streams.inputIsFolder) {
            EXPECT_EQ(run.out, "") << "no box after a read error";
        }
    }
}

} // namespace
