// The string workspace and string variables: joining, committing, assigning, protecting, and
// the guard at the end of the block.
#include "fakes/fake_heap.h"
#include "support/runtime_fixture.h"

#include <cstring>
#include <string>

namespace {

class StringTest : public RuntimeTest {};

char* LastByte() {
    return WorkspaceBase() + WorkspaceSize - 1;
}

TEST_F(StringTest, StatementsJoinOperandsAndLeaveThePositionWhereTheyBegan) {
    StringVariable unset{};
    StringVariable empty{};
    StringAssign(empty, "");
    StringVariable word{};
    StringAssign(word, "Teiler");
    struct Case {
        const char* name;
        void (*build)(StringVariable&, StringVariable&, StringVariable&);
        const char* expected;
    };
    // clang-format off
    const Case cases[] = {
        {"literals join", [](auto&, auto&, auto&) { WorkspaceAppend("ab"); WorkspaceAppend("cd"); }, "abcd"},
        {"number between texts", [](auto&, auto&, auto&) { WorkspaceAppend("("); LongToText(-15); WorkspaceAppend(")"); }, "(-15)"},
        {"never-assigned variable adds nothing", [](auto& u, auto&, auto&) { WorkspaceAppend("x"); WorkspaceAppend(u); WorkspaceAppend("y"); }, "xy"},
        {"never-assigned variable alone", [](auto& u, auto&, auto&) { WorkspaceAppend(u); }, ""},
        {"empty variable adds nothing", [](auto&, auto& e, auto&) { WorkspaceAppend(e); WorkspaceAppend("z"); }, "z"},
        {"variable text", [](auto&, auto&, auto& w) { WorkspaceAppend(w); WorkspaceAppend(", "); LongToText(12); }, "Teiler, 12"},
        {"nothing at all", [](auto&, auto&, auto&) {}, ""},
    };
    // clang-format on
    // Statements begin at the base and, behind other text, in the middle of the workspace.
    for (const std::size_t offset : {std::size_t{0}, std::size_t{100}}) {
        WorkspaceRewind(WorkspaceBase() + offset);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " at offset " + std::to_string(offset));
            char* start = WorkspacePosition();
            c.build(unset, empty, word);
            StringVariable target{};
            WorkspaceCommit(target, start);
            ASSERT_NE(target.text, nullptr);
            EXPECT_STREQ(target.text, c.expected);
            EXPECT_EQ(WorkspacePosition(), start);
        }
    }
    EXPECT_EQ(unset.text, nullptr) << "reading a variable must not assign it";
}

TEST_F(StringTest, CommitReplacesTheOldCopyAndRebuildsFromItself) {
    StringVariable line{};
    StringAssign(line, "1");
    const std::size_t live = FakeHeapLiveBlocks();
    for (Long value : {7, 8, 8}) {
        char* start = WorkspacePosition();
        WorkspaceAppend(line);
        WorkspaceAppend(", ");
        LongToText(value);
        WorkspaceCommit(line, start);
        EXPECT_EQ(FakeHeapLiveBlocks(), live) << "old copy not freed";
    }
    EXPECT_STREQ(line.text, "1, 7, 8, 8");
    EXPECT_EQ(WorkspacePosition(), WorkspaceBase());
}

TEST_F(StringTest, AssignCopiesAndFreesTheOldCopy) {
    struct Case {
        const char* text;
        bool null;
    };
    StringVariable variable{};
    for (const Case& c : {Case{"", false}, Case{"abc", false}, Case{nullptr, true},
                          Case{"\r\n", false}, Case{"", false}}) {
        SCOPED_TRACE(c.text ? c.text : "(null)");
        const std::size_t live = FakeHeapLiveBlocks();
        const bool had = variable.text != nullptr;
        StringAssign(variable, c.text);
        EXPECT_EQ(variable.text == nullptr, c.null);
        EXPECT_EQ(FakeHeapLiveBlocks(), live - (had ? 1 : 0) + (c.null ? 0 : 1));
        if (!c.null) {
            EXPECT_NE(variable.text, c.text) << "must be a copy";
            EXPECT_STREQ(variable.text, c.text);
        }
    }
    EXPECT_STREQ(StringText(variable), "");
}

TEST_F(StringTest, ProtectedArgumentIsNotOverwrittenByTheCallee) {
    char* start = WorkspacePosition();
    WorkspaceAppend("42");
    WorkspaceProtect();
    EXPECT_EQ(WorkspacePosition(), start + 3);
    // What the callee writes lands behind the argument.
    char* inner = WorkspacePosition();
    WorkspaceAppend("callee");
    LongToText(7);
    WorkspaceRewind(inner);
    EXPECT_STREQ(start, "42");
    WorkspaceRewind(start);
    EXPECT_EQ(WorkspacePosition(), WorkspaceBase());
}

// The guard: no write passes the last byte, which then holds the NUL. Under the sanitizers a
// single byte too far is an error, as the workspace block is exactly WorkspaceSize bytes.
TEST_F(StringTest, WritesAreCutAtTheEndOfTheWorkspace) {
    const std::string longText(200, 'x');
    struct Case {
        const char* name;
        std::size_t room; // bytes left before the statement, NUL included
        void (*write)(const std::string&);
        std::string expected;
    };
    // clang-format off
    const Case cases[] = {
        {"text that just fits",   4, [](const std::string&) { WorkspaceAppend("abc"); }, "abc"},
        {"text one byte too long", 4, [](const std::string&) { WorkspaceAppend("abcd"); }, "abc"},
        {"long text",            10, [](const std::string& t) { WorkspaceAppend(t.c_str()); }, "xxxxxxxxx"},
        {"second operand cut",    6, [](const std::string&) { WorkspaceAppend("abc"); WorkspaceAppend("def"); }, "abcde"},
        {"number cut",            4, [](const std::string&) { LongToText(-2147483647 - 1); }, "-21"},
        {"number after full text", 3, [](const std::string&) { WorkspaceAppend("ab"); LongToText(5); }, "ab"},
        {"nothing fits",          1, [](const std::string&) { WorkspaceAppend("abc"); LongToText(9); }, ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::memset(WorkspaceBase(), '#', WorkspaceSize); // no NUL anywhere to hide a miss
        char* start = LastByte() + 1 - c.room;
        WorkspaceRewind(start);
        c.write(longText);
        EXPECT_LE(WorkspacePosition(), LastByte());
        EXPECT_EQ(*WorkspacePosition(), '\0');
        EXPECT_EQ(std::string(start), c.expected);
        StringVariable target{};
        WorkspaceCommit(target, start);
        EXPECT_EQ(std::string(target.text), c.expected);
        EXPECT_EQ(WorkspacePosition(), start);
    }
}

// Four zeros, fewer at the end of the block, and the position stays.
TEST_F(StringTest, NeverAssignedVariableWritesWhatIsLeftOfFourZeros) {
    for (std::size_t room : {1u, 2u, 3u, 4u, 8u}) {
        SCOPED_TRACE(room);
        std::memset(WorkspaceBase(), '#', WorkspaceSize);
        WorkspaceRewind(LastByte() + 1 - room);
        StringVariable unset{};
        WorkspaceAppend(unset);
        EXPECT_EQ(WorkspacePosition(), LastByte() + 1 - room);
        EXPECT_EQ(WorkspacePosition()[-1], '#');
        for (std::size_t i = 0; i < room; ++i)
            EXPECT_EQ(WorkspacePosition()[i], i < 4 ? '\0' : '#') << i;
    }
}

TEST_F(StringTest, ProtectAndAdvanceStopAtTheLastByte) {
    WorkspaceRewind(LastByte() - 1);
    WorkspaceProtect();
    EXPECT_EQ(WorkspacePosition(), LastByte());
    WorkspaceProtect();
    EXPECT_EQ(WorkspacePosition(), LastByte()) << "protect must not leave the block";
    EXPECT_EQ(WorkspaceRoom(), 1u);

    struct Case {
        std::size_t room;
        std::size_t advance;
        std::size_t roomAfter;
    };
    for (const Case& c : {Case{100, 10, 90}, Case{100, 99, 1}, Case{100, 100, 1}, Case{5, 1000, 1},
                          Case{WorkspaceSize, 0, WorkspaceSize}}) {
        WorkspaceRewind(LastByte() + 1 - c.room);
        WorkspaceAdvance(c.advance);
        EXPECT_EQ(WorkspaceRoom(), c.roomAfter) << c.room << " " << c.advance;
    }
}

TEST_F(StringTest, WorkspaceIsZeroFilledAndPositionedAtItsStart) {
    EXPECT_EQ(WorkspacePosition(), WorkspaceBase());
    EXPECT_EQ(WorkspaceRoom(), WorkspaceSize);
    std::size_t nonZero = 0;
    for (std::size_t i = 0; i < WorkspaceSize; ++i)
        nonZero += WorkspaceBase()[i] != 0;
    EXPECT_EQ(nonZero, 0u);
}

} // namespace
