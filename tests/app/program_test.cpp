// The program's flow with scripted requesters: what is asked, and which box follows which entry.
#include "app/program.h"
#include "fakes/fake_requesters.h"
#include "runtime/heap.h"
#include "runtime/strings.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

class ProgramTest : public ::testing::Test {
  protected:
    void TearDown() override { RuntimeHeapEnd(); }
};

TEST_F(ProgramTest, AsksOnceWithTheProgramsTexts) {
    FakeRequesterScript("12");
    ProgramRun(nullptr);
    ASSERT_EQ(FakeRequesterInputs().size(), 1u);
    EXPECT_EQ(FakeRequesterInputs()[0].caption, "Primfaktoren / Teiler suchen...");
    EXPECT_EQ(FakeRequesterInputs()[0].text, "Bitte Zahl eingeben:");
    EXPECT_EQ(FakeRequesterInputs()[0].presetText, "");
}

TEST_F(ProgramTest, EntryDecidesBetweenReportErrorAndQuietEnd) {
    enum class Shows { Report, Error, Nothing };
    struct Case {
        const char* entered;
        Shows shows;
        const char* factorLine;
    };
    // clang-format off
    const Case cases[] = {
        {"12", Shows::Report, "1, 2, 2, 3"},
        {" 12abc", Shows::Report, "1, 2, 2, 3"},
        {"+7", Shows::Report, "1, 7"},
        {"2", Shows::Report, "1, 2"},
        {"2147483646", Shows::Report, "1, 2, 3, 3, 7, 11, 31, 151, 331"},
        {"", Shows::Nothing, nullptr},
        {"0", Shows::Error, nullptr},
        {"1", Shows::Error, nullptr},
        {"-5", Shows::Error, nullptr},
        {"-0", Shows::Error, nullptr},
        {"abc", Shows::Error, nullptr},
        {"\t5", Shows::Error, nullptr},
        {" ", Shows::Error, nullptr},
        {"-2147483648", Shows::Error, nullptr},
        {"2147483648", Shows::Error, nullptr},
        {"4294967308", Shows::Error, nullptr},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entered);
        FakeRequesterScript(c.entered);
        ProgramRun(nullptr);
        const auto& notes = FakeRequesterNotes();
        switch (c.shows) {
        case Shows::Nothing:
            EXPECT_TRUE(notes.empty());
            break;
        case Shows::Error:
            ASSERT_EQ(notes.size(), 1u);
            EXPECT_EQ(notes[0].caption, "ERROR");
            EXPECT_EQ(notes[0].text, "Falscher Zahlenwert");
            EXPECT_EQ(notes[0].flags, 0u);
            break;
        case Shows::Report:
            ASSERT_EQ(notes.size(), 1u);
            EXPECT_EQ(notes[0].caption, "Primfaktoren / Teiler");
            EXPECT_TRUE(std::regex_match(
                notes[0].text,
                std::regex("Primfaktoren \\([0-9]+ ms\\)\r\n" + std::string(c.factorLine) +
                           "\r\n\r\nTeiler \\([0-9]+ ms\\)\r\n1(, [0-9]+)+")))
                << notes[0].text;
            EXPECT_EQ(notes[0].flags, 0u);
            break;
        }
        // Every statement gave the workspace back.
        EXPECT_EQ(WorkspacePosition(), WorkspaceBase());
        RuntimeHeapEnd();
    }
}

} // namespace
