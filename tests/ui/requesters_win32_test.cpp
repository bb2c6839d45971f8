// The Win32 requesters called in this process, answered from a second thread: preset text,
// repeated calls, a quit message, the workspace's end and the note's answer.
#include "driver_win32.h"
#include "runtime/heap.h"
#include "runtime/strings.h"
#include "ui/requesters.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

namespace {

class RequesterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RequesterStart(::GetModuleHandleA(nullptr));
        RuntimeHeapStart();
        WorkspaceStart();
    }
    void TearDown() override { RuntimeHeapEnd(); }
};

// A window of this process with `className`, once it is visible and holds a child with id
// `lastChild` (0: any); null after DriverTimeout. The input window is visible before its
// children exist.
HWND WaitOwnWindow(const char* className, int lastChild = 0) {
    for (DWORD waited = 0; waited < DriverTimeout; waited += 20) {
        HWND window = ::FindWindowA(className, nullptr);
        if (window && ::IsWindowVisible(window) && (!lastChild || ::GetDlgItem(window, lastChild)))
            return window;
        ::Sleep(20);
    }
    return nullptr;
}

// Runs `answer` on a second thread while this thread sits in a requester.
class Answerer {
  public:
    explicit Answerer(std::function<void()> answer) : thread_(std::move(answer)) {}
    ~Answerer() { thread_.join(); }

  private:
    std::thread thread_;
};

struct Seen {
    std::string text;
    DWORD selectionStart = 0xFFFF;
    DWORD selectionEnd = 0xFFFF;
    ULONG_PTR brush = 0;
};

// Waits for the input window, notes what stands in the field, types `typed` and presses `key`.
void AnswerInput(Seen& seen, const std::string& typed, WORD key) {
    HWND input = WaitOwnWindow("InputRequester", 1000);
    if (!input) return;
    HWND edit = ::GetDlgItem(input, 10);
    seen.text = DriverText(edit);
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&seen.selectionStart),
                   reinterpret_cast<LPARAM>(&seen.selectionEnd));
    seen.brush = ::GetClassLongPtrA(input, GCLP_HBRBACKGROUND);
    DriverTypeText(edit, typed);
    DriverKey(edit, key);
}

TEST_F(RequesterTest, PresetTextStandsWithTheCaretAfterIt) {
    struct Case {
        const char* preset;
        const char* typed;
        WORD key;
        const char* shown;
        DWORD caret;
        const char* result;
    };
    // clang-format off
    const Case cases[] = {
        {"42", "", VK_RETURN, "42", 2, "42"},
        {"42", "7", VK_RETURN, "42", 2, "427"},   // typing goes on after the preset
        {"", "", VK_RETURN, "", 0, ""},
        {nullptr, "5", VK_RETURN, "", 0, "5"},
        {"42", "", VK_ESCAPE, "42", 2, ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.preset ? c.preset : "(null)");
        Seen seen;
        char* start = WorkspacePosition();
        const char* result;
        {
            Answerer answerer([&] { AnswerInput(seen, c.typed, c.key); });
            result = InputRequester("Caption", "Prompt", c.preset);
        }
        EXPECT_EQ(seen.text, c.shown);
        EXPECT_EQ(seen.selectionStart, c.caret);
        EXPECT_EQ(seen.selectionEnd, c.caret) << "nothing may be selected";
        EXPECT_EQ(result, start);
        EXPECT_STREQ(result, c.result);
        EXPECT_EQ(WorkspacePosition(), start + std::string(c.result).size());
        EXPECT_EQ(::FindWindowA("InputRequester", nullptr), nullptr) << "window left behind";
        WorkspaceRewind(start);
    }
}

TEST_F(RequesterTest, SecondCallReusesTheBrush) {
    Seen first, second;
    {
        Answerer answerer([&] { AnswerInput(first, "1", VK_RETURN); });
        EXPECT_STREQ(InputRequester("A", "B", ""), "1");
    }
    // With its window gone the class can go too, so the second call registers it afresh: with
    // the cached brush, not a new one.
    ASSERT_TRUE(::UnregisterClassA("InputRequester", ::GetModuleHandleA(nullptr)));
    {
        Answerer answerer([&] { AnswerInput(second, "2", VK_RETURN); });
        EXPECT_STREQ(InputRequester("A", "B", ""), "2");
    }
    EXPECT_NE(first.brush, 0u);
    EXPECT_EQ(first.brush, second.brush);
}

TEST_F(RequesterTest, QuitMessageEndsTheLoopWithTheWindowLeft) {
    const DWORD thread = ::GetCurrentThreadId();
    const char* result;
    {
        Answerer answerer([&] {
            if (!WaitOwnWindow("InputRequester", 1000)) return;
            DriverTypeText(::GetDlgItem(::FindWindowA("InputRequester", nullptr), 10), "12");
            ::PostThreadMessageA(thread, WM_QUIT, 0, 0);
        });
        result = InputRequester("A", "B", "");
    }
    EXPECT_STREQ(result, "");
    HWND left = ::FindWindowA("InputRequester", nullptr);
    EXPECT_NE(left, nullptr) << "a quit message does not destroy the window";
    if (left) ::DestroyWindow(left);
}

TEST_F(RequesterTest, EntryIsCutAtTheEndOfTheWorkspace) {
    char* start = WorkspaceBase() + WorkspaceSize - 6; // room for five bytes and the NUL
    WorkspaceRewind(start);
    const char* result;
    {
        Seen seen;
        Answerer answerer([&] { AnswerInput(seen, "123456789", VK_RETURN); });
        result = InputRequester("A", "B", "");
    }
    EXPECT_STREQ(result, "12345");
    EXPECT_EQ(WorkspacePosition(), WorkspaceBase() + WorkspaceSize - 1);
}

TEST_F(RequesterTest, NoteAnswersOkAndIsOwnedByTheForegroundWindow) {
    HWND foreground = ::CreateWindowExA(0, "STATIC", "foreground", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                                        50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(foreground, nullptr);
    ::SetForegroundWindow(foreground);
    ASSERT_EQ(::GetForegroundWindow(), foreground);
    int answer = 0;
    HWND owner = nullptr;
    {
        Answerer answerer([&] {
            HWND box = WaitOwnWindow("#32770", IDOK);
            if (!box) return;
            owner = ::GetWindow(box, GW_OWNER);
            ::PostMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        });
        answer = NoteRequester("Titel", "Text", 0);
    }
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(owner, foreground);
    ::DestroyWindow(foreground);
}

} // namespace
