// The program's flow with scripted requesters: what is asked, and which box follows which entry.
#include "app/program.h"
#include "fakes/fake_requesters.h"
#include "runtime/heap.h"
#include "runtime/strings.h"
#include "support/worked_examples.h"

#include <gtest/gtest.h>

#include <iterator>
#include <regex>
#include <vector>

namespace {

class ProgramTest : public ::testing::Test {
  protected:
    void TearDown() override { RuntimeHeapEnd(); }
};

TEST_F(ProgramTest, AsksOnceWithTheProgramsTexts) {
    FakeRequesterScript("12");
    ProgramRun(nullptr);
    ASSERT_EQ(FakeRequesterInputs().size(), 1u);
    EXPECT_EQ(FakeRequesterInputs()[0].caption, InputCaption);
    EXPECT_EQ(FakeRequesterInputs()[0].text, InputPrompt);
    EXPECT_EQ(FakeRequesterInputs()[0].presetText, "");
}

// The worked examples, and the largest even entry whose digits fit (2^31 - 2; any divisors).
TEST_F(ProgramTest, EntryDecidesBetweenReportErrorAndQuietEnd) {
    std::vector<WorkedExample> examples(std::begin(WorkedExamples), std::end(WorkedExamples));
    examples.push_back(
        {"2147483646", Shows::Report, "1, 2, 3, 3, 7, 11, 31, 151, 331", "1(, [0-9]+)+"});
    for (const WorkedExample& example : examples) {
        SCOPED_TRACE(example.entered);
        FakeRequesterScript(example.entered);
        ProgramRun(nullptr);
        const auto& notes = FakeRequesterNotes();
        if (example.shows == Shows::Nothing) {
            EXPECT_TRUE(notes.empty());
        } else {
            ASSERT_EQ(notes.size(), 1u);
            EXPECT_EQ(notes[0].flags, 0u);
        }
        if (example.shows == Shows::Error) {
            EXPECT_EQ(notes[0].caption, ErrorCaption);
            EXPECT_EQ(notes[0].text, ErrorText);
        } else if (example.shows == Shows::Report) {
            EXPECT_EQ(notes[0].caption, ReportCaption);
            EXPECT_TRUE(
                std::regex_match(notes[0].text, std::regex(WorkedReportPattern(example, "\r\n"))))
                << notes[0].text;
        }
        // Every statement gave the workspace back.
        EXPECT_EQ(WorkspacePosition(), WorkspaceBase());
        RuntimeHeapEnd();
    }
}

} // namespace
