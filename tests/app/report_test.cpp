// The report text, and the lines of the report for the program's worked examples.
#include "app/report.h"
#include "arith/divisors.h"
#include "arith/factors.h"
#include "support/runtime_fixture.h"

#include <algorithm>
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
        {{2}, "1, 2"},
        {{2, 2, 3}, "1, 2, 2, 3"},
        {{-1, -1}, "1, -1, -1"},
        {{2147483647, -2147483647 - 1}, "1, 2147483647, -2147483648"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(Line(c.values), c.line);
    }
}

TEST_F(ReportTest, ReportOfTwelveByteForByte) {
    StringVariable factorText{}, divisorText{}, lineBreak{};
    StringAssign(factorText, "1, 2, 2, 3");
    StringAssign(divisorText, "1, 2, 4, 3, 6, 12");
    StringAssign(lineBreak, "\r\n");
    char* start = WorkspacePosition();
    const char* report = ReportCompose(0, factorText, 0, divisorText, lineBreak);
    EXPECT_EQ(report, start);
    EXPECT_EQ(std::string(report), "Primfaktoren (0 ms)\r\n1, 2, 2, 3\r\n\r\n"
                                   "Teiler (0 ms)\r\n1, 2, 4, 3, 6, 12");
    EXPECT_EQ(*WorkspacePosition(), '\0');
    EXPECT_EQ(WorkspacePosition(), start + std::string(report).size());
}

TEST_F(ReportTest, TimesAppearInTheirHeadings) {
    StringVariable factorText{}, divisorText{}, lineBreak{};
    StringAssign(factorText, "1, 97");
    StringAssign(divisorText, "1, 97");
    StringAssign(lineBreak, "\r\n");
    EXPECT_EQ(std::string(ReportCompose(15, factorText, 2147483647, divisorText, lineBreak)),
              "Primfaktoren (15 ms)\r\n1, 97\r\n\r\nTeiler (2147483647 ms)\r\n1, 97");
}

// The whole chain from the entered number to the two report lines.
TEST_F(ReportTest, ReportLinesOfTheWorkedExamples) {
    struct Case {
        Long number;
        const char* factorLine;
        const char* divisorLine;
    };
    // clang-format off
    const Case cases[] = {
        {12, "1, 2, 2, 3", "1, 2, 4, 3, 6, 12"},
        {97, "1, 97", "1, 97"},
        {2, "1, 2", "1, 2"},
        {30, "1, 2, 3, 5", "1, 2, 3, 6, 5, 10, 15, 30"},
        {360, "1, 2, 2, 2, 3, 3, 5",
         "1, 2, 4, 8, 3, 6, 12, 24, 9, 18, 36, 72, 5, 10, 20, 40, 15, 30, 60, 120, 45, 90, 180, 360"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        CursorList factorList{}, divisorList{};
        FactorSlot* slots = nullptr;
        ListCreate(factorList, sizeof(Long));
        FindPrimeFactors(factorList, c.number);
        ListCreate(divisorList, sizeof(Long));
        FindDivisors(factorList, divisorList, slots);
        StringVariable factorText{}, divisorText{};
        ReportLine(factorText, factorList);
        ReportLine(divisorText, divisorList);
        EXPECT_STREQ(factorText.text, c.factorLine);
        EXPECT_STREQ(divisorText.text, c.divisorLine);
    }
}

// 2095133040 has 1600 divisors (1599 above 1), the most of any positive Long: its report is
// the longest the program builds.
TEST_F(ReportTest, ReportWithTheMostDivisorsFitsTheWorkspace) {
    CursorList factorList{}, divisorList{};
    FactorSlot* slots = nullptr;
    ListCreate(factorList, sizeof(Long));
    FindPrimeFactors(factorList, 2095133040);
    ListCreate(divisorList, sizeof(Long));
    FindDivisors(factorList, divisorList, slots);
    ASSERT_EQ(ListCount(divisorList), 1599);
    StringVariable factorText{}, divisorText{}, lineBreak{};
    ReportLine(factorText, factorList);
    ReportLine(divisorText, divisorList);
    StringAssign(lineBreak, "\r\n");
    const std::string report = ReportCompose(0, factorText, 0, divisorText, lineBreak);
    EXPECT_LT(report.size(), WorkspaceSize / 2);
    EXPECT_EQ(report.substr(report.size() - 12), ", 2095133040") << "report cut short";
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 4);
    const std::string divisorLine = divisorText.text;
    EXPECT_EQ(std::count(divisorLine.begin(), divisorLine.end(), ','), 1599);
}

} // namespace
