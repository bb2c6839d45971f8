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

// Runs `answer` on a second thread while `call` sits in a requester on this one; whether the
// answer found its window and the requester then returned. When the answer misses its window,
// or the requester outlasts it by DriverTimeout, a quit message ends the requester's loop (a
// message box's too), so the test fails instead of waiting for CTest's timeout.
bool Answered(const std::function<bool()>& answer, const std::function<void()>& call) {
    const DWORD caller = ::GetCurrentThreadId();
    HANDLE returned = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    bool answered = false;
    std::thread helper([&] {
        answered = answer() && ::WaitForSingleObject(returned, DriverTimeout) == WAIT_OBJECT_0;
        if (!answered) ::PostThreadMessageA(caller, WM_QUIT, 0, 0);
    });
    call();
    ::SetEvent(returned);
    helper.join();
    ::CloseHandle(returned);
    MSG quit;
    ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE); // posted too late to be taken
    if (HWND left = ::FindWindowA("InputRequester", nullptr); left && !answered)
        ::DestroyWindow(left);
    return answered;
}

struct Seen {
    std::string text;
    DWORD selectionStart = 0xFFFF;
    DWORD selectionEnd = 0xFFFF;
    ULONG_PTR brush = 0;
};

// Waits for the input window, notes what stands in the field, types `typed` and presses `key`;
// false when the window did not appear.
bool AnswerInput(Seen& seen, const std::string& typed, WORD key) {
    HWND input = WaitOwnWindow("InputRequester", 1000);
    if (!input) return false;
    HWND edit = ::GetDlgItem(input, 10);
    seen.text = DriverText(edit);
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&seen.selectionStart),
                   reinterpret_cast<LPARAM>(&seen.selectionEnd));
    seen.brush = ::GetClassLongPtrA(input, GCLP_HBRBACKGROUND);
    DriverTypeText(edit, typed);
    DriverKey(edit, key);
    return true;
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
        const char* result = nullptr;
        ASSERT_TRUE(Answered([&] { return AnswerInput(seen, c.typed, c.key); },
                             [&] { result = InputRequester("Caption", "Prompt", c.preset); }));
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
    ASSERT_TRUE(Answered([&] { return AnswerInput(first, "1", VK_RETURN); },
                         [&] { EXPECT_STREQ(InputRequester("A", "B", ""), "1"); }));
    // With its window gone the class can go too, so the second call registers it afresh: with
    // the cached brush, not a new one.
    ASSERT_TRUE(::UnregisterClassA("InputRequester", ::GetModuleHandleA(nullptr)));
    ASSERT_TRUE(Answered([&] { return AnswerInput(second, "2", VK_RETURN); },
                         [&] { EXPECT_STREQ(InputRequester("A", "B", ""), "2"); }));
    EXPECT_NE(first.brush, 0u);
    EXPECT_EQ(first.brush, second.brush);
}

TEST_F(RequesterTest, QuitMessageEndsTheLoopWithTheWindowLeft) {
    const DWORD thread = ::GetCurrentThreadId();
    const char* result = nullptr;
    ASSERT_TRUE(Answered(
        [&] {
            HWND input = WaitOwnWindow("InputRequester", 1000);
            if (!input) return false;
            DriverTypeText(::GetDlgItem(input, 10), "12");
            ::PostThreadMessageA(thread, WM_QUIT, 0, 0);
            return true;
        },
        [&] { result = InputRequester("A", "B", ""); }));
    EXPECT_STREQ(result, "");
    HWND left = ::FindWindowA("InputRequester", nullptr);
    EXPECT_NE(left, nullptr) << "a quit message does not destroy the window";
    if (left) ::DestroyWindow(left);
}

TEST_F(RequesterTest, EntryIsCutAtTheEndOfTheWorkspace) {
    char* start = WorkspaceBase() + WorkspaceSize - 6; // room for five bytes and the NUL
    WorkspaceRewind(start);
    Seen seen;
    const char* result = nullptr;
    ASSERT_TRUE(Answered([&] { return AnswerInput(seen, "123456789", VK_RETURN); },
                         [&] { result = InputRequester("A", "B", ""); }));
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
    const auto answerBox = [&] {
        HWND box = WaitOwnWindow("#32770", IDOK);
        if (!box) return false;
        owner = ::GetWindow(box, GW_OWNER);
        ::PostMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        return true;
    };
    ASSERT_TRUE(Answered(answerBox, [&] { answer = NoteRequester("Titel", "Text", 0); }));
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(owner, foreground);
    ::DestroyWindow(foreground);
}

} // namespace
