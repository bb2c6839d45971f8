// The program's worked examples: an entered text and the box it leads to. Every suite that
// checks them takes them from here and runs them through its own path.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

enum class Shows {
    Report,  // the report box with the two lines below
    Error,   // the error box
    Nothing, // no box: the program just ends
};

struct WorkedExample {
    const char* entered;
    Shows shows;
    const char* factorLine; // report lines, without their headings
    const char* divisorLine;
};

inline constexpr char InputCaption[] = "Primfaktoren / Teiler suchen...";
inline constexpr char InputPrompt[] = "Bitte Zahl eingeben:";
inline constexpr char ReportCaption[] = "Primfaktoren / Teiler";
inline constexpr char ErrorCaption[] = "ERROR";
inline constexpr char ErrorText[] = "Falscher Zahlenwert";

// clang-format off
inline constexpr WorkedExample WorkedExamples[] = {
    {"12", Shows::Report, "1, 2, 2, 3", "1, 2, 4, 3, 6, 12"},
    {"97", Shows::Report, "1, 97", "1, 97"},
    {"2", Shows::Report, "1, 2", "1, 2"},
    {"30", Shows::Report, "1, 2, 3, 5", "1, 2, 3, 6, 5, 10, 15, 30"},
    {"360", Shows::Report, "1, 2, 2, 2, 3, 3, 5",
     "1, 2, 4, 8, 3, 6, 12, 24, 9, 18, 36, 72, 5, 10, 20, 40, 15, 30, 60, 120, 45, 90, 180, 360"},
    {" 12abc", Shows::Report, "1, 2, 2, 3", "1, 2, 4, 3, 6, 12"},
    {"-5", Shows::Error, nullptr, nullptr},
    {"2147483648", Shows::Error, nullptr, nullptr},  // 2^31 reads as -2^31
    {"4294967308", Shows::Error, nullptr, nullptr},  // 2^32 + 12 would be taken as 12
    {"-0", Shows::Error, nullptr, nullptr},
    {"1", Shows::Error, nullptr, nullptr},
    {"abc", Shows::Error, nullptr, nullptr},
    {" ", Shows::Error, nullptr, nullptr},           // a blank is not an empty entry
    {"", Shows::Nothing, nullptr, nullptr},
};
// clang-format on

// Bytes of an entry that reach the program; the rest of a longer one is dropped.
inline constexpr std::size_t EntryLimit = 9999;

// An entry longer than EntryLimit: 9997 spaces and "12" fill it and "35" lies beyond, so it shows
// as the example entered as LongEntryShowsAs.
inline std::string LongEntry() {
    return std::string(EntryLimit - 2, ' ') + "1235";
}
inline constexpr char LongEntryShowsAs[] = "12";

// A report of some 9 kB, taller than any screen: 735134400 = 2^6 * 3^3 * 5^2 * 7 * 11 * 13 * 17.
inline constexpr char LongReportEntry[] = "735134400";
inline constexpr int LongReportDivisors = 1344; // 1 among them

// The example entered as `entered`; a name missing from the table aborts the suite, saying so.
inline const WorkedExample& WorkedExampleFor(const char* entered) {
    for (const WorkedExample& example : WorkedExamples)
        if (std::strcmp(example.entered, entered) == 0) return example;
    std::fprintf(stderr, "no worked example entered as \"%s\"\n", entered);
    std::abort();
}

// The report text of `example` (a report) with its lines joined by `lineBreak` and any times,
// as a regular expression.
inline std::string WorkedReportPattern(const WorkedExample& example, const std::string& lineBreak) {
    return "Primfaktoren \\([0-9]+ ms\\)" + lineBreak + example.factorLine + lineBreak + lineBreak +
           "Teiler \\([0-9]+ ms\\)" + lineBreak + example.divisorLine;
}
