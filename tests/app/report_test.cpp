// The report text, and the lines of the report for the program's worked examples.
#include "app/report.h"
#include "arith/divisors.h"
#include "arith/factors.h"
#include "support/runtime_fixture.h"
#include "support/worked_examples.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>

namespace {

class ReportTest : public RuntimeTest {};

std::string Line(const std::vector<Long>& values) {
    CursorList list = ListOf(values);
    StringVariable line{};
    char* position = WorkspacePosition();
    ReportLine(line, list);
    EXPECT_EQ(WorkspacePosition(), position);
    return line.text;
}

TEST_F(ReportTest, LinesStartWithOneAndSeparateByCommaSpace) {
    struct Case {
        std::vector<Long> values;
        const char* line;
    };
    // clang-format off
    const Case cases[] = {
        {{}, "1"},
        {{-1, -1}, "1, -1, -1"},
        {{2147483647, -2147483647 - 1}, "1, 2147483647, -2147483648"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(Line(c.values), c.line);
    }
}

TEST_F(ReportTest, TimesAppearInTheirHeadings) {
    StringVariable factorText{}, divisorText{}, lineBreak{};
    StringAssign(factorText, "F");
    StringAssign(divisorText, "D");
    StringAssign(lineBreak, "\r\n");
    EXPECT_EQ(std::string(ReportCompose(15, factorText, 2147483647, divisorText, lineBreak)),
              "Primfaktoren (15 ms)\r\nF\r\n\r\nTeiler (2147483647 ms)\r\nD");
}

// The report of `number` through the whole chain, with both times 0; `divisorText` keeps the
// divisor line.
const char* ReportOf(Long number, StringVariable& divisorText) {
    CursorList factorList{}, divisorList{};
    FactorSlot* slots = nullptr;
    ListCreate(factorList, sizeof(Long));
    FindPrimeFactors(factorList, number);
    ListCreate(divisorList, sizeof(Long));
    FindDivisors(factorList, divisorList, slots);
    StringVariable factorText{}, lineBreak{};
    ReportLine(factorText, factorList);
    ReportLine(divisorText, divisorList);
    StringAssign(lineBreak, "\r\n");
    return ReportCompose(0, factorText, 0, divisorText, lineBreak);
}

TEST_F(ReportTest, ReportsOfTheWorkedExamples) {
    for (const WorkedExample& example : WorkedExamples) {
        if (example.shows != Shows::Report) continue;
        SCOPED_TRACE(example.entered);
        StringVariable divisorText{};
        const char* report = ReportOf(TextToLong(example.entered), divisorText);
        EXPECT_TRUE(std::regex_match(report, std::regex(WorkedReportPattern(example, "\r\n"))))
            << report;
        EXPECT_EQ(report, WorkspaceBase()) << "written at the position";
        EXPECT_EQ(WorkspacePosition(), report + std::strlen(report)) << "left on the NUL";
        WorkspaceRewind(WorkspaceBase());
    }
}

// 2095133040 has 1600 divisors, the most of any positive Long: its report is the longest the
// program builds. Checked against the divisors found in pairs up to the square root.
TEST_F(ReportTest, ReportWithTheMostDivisorsListsThemAllAndFits) {
    constexpr Long Number = 2095133040;
    StringVariable divisorText{};
    const std::string report = ReportOf(Number, divisorText);
    EXPECT_LT(report.size(), WorkspaceSize / 2);
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 4);
    std::vector<Long> shown, expected;
    for (char* at = divisorText.text; *at;) {
        char* next = nullptr;
        shown.push_back(static_cast<Long>(std::strtol(at, &next, 10)));
        if (next == at) { // neither a number nor ", ": fail rather than loop
            ADD_FAILURE() << "unexpected text in the divisor line: " << at;
            break;
        }
        at = *next == ',' ? next + 2 : next;
    }
    for (Long d = 1; d <= Number / d; ++d)
        if (Number % d == 0) expected.insert(expected.end(), {d, Number / d});
    std::sort(shown.begin(), shown.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shown, expected);
}

} // namespace
