// The Win32 requesters called in this process, answered from a second thread: preset text,
// window class and owner, repeated calls, a failed window, a quit message, the workspace's end
// and the note's buttons and owner.
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
    MSG quit; // posted too late to be taken
    ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    if (HWND left = ::FindWindowA("InputRequester", nullptr); left && !answered)
        ::DestroyWindow(left);
    return answered;
}

// What the helper saw of the input window before it answered.
struct Seen {
    std::string text;
    DWORD selectionStart = 0xFFFF;
    DWORD selectionEnd = 0xFFFF;
    WNDCLASSEXA windowClass{};
    WPARAM fonts[3] = {}; // prompt, edit field, button
    HWND owner = nullptr;
};

// Waits for the input window, notes what it shows, types `typed` and presses `key`; false when
// the window did not appear.
bool AnswerInput(Seen& seen, const std::string& typed, WORD key) {
    HWND input = WaitOwnWindow("InputRequester", 1000);
    if (!input) return false;
    HWND edit = ::GetDlgItem(input, 10);
    seen.text = DriverText(edit);
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&seen.selectionStart),
                   reinterpret_cast<LPARAM>(&seen.selectionEnd));
    seen.windowClass.cbSize = sizeof seen.windowClass;
    ::GetClassInfoExA(::GetModuleHandleA(nullptr), "InputRequester", &seen.windowClass);
    const int ids[3] = {0, 10, 1000};
    for (int i = 0; i < 3; ++i)
        seen.fonts[i] =
            static_cast<WPARAM>(::SendMessageA(::GetDlgItem(input, ids[i]), WM_GETFONT, 0, 0));
    seen.owner = ::GetWindow(input, GW_OWNER);
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

TEST_F(RequesterTest, WindowClassAndOwnerAreTheRequesters) {
    HWND active = ::CreateWindowExA(0, "STATIC", "active", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                    nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(active, nullptr);
    ::SetForegroundWindow(active);
    ::SetActiveWindow(active);
    ASSERT_EQ(::GetActiveWindow(), active);
    Seen seen;
    ASSERT_TRUE(Answered([&] { return AnswerInput(seen, "", VK_RETURN); },
                         [&] { InputRequester("A", "B", ""); }));
    EXPECT_EQ(seen.owner, active);
    const WNDCLASSEXA& windowClass = seen.windowClass; // of this module: found by its instance
    EXPECT_EQ(windowClass.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(windowClass.cbClsExtra, 0);
    EXPECT_EQ(windowClass.cbWndExtra, 0);
    EXPECT_EQ(windowClass.hIcon, nullptr);
    EXPECT_EQ(windowClass.hIconSm, nullptr);
    EXPECT_EQ(windowClass.hCursor, ::LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(windowClass.lpszMenuName, nullptr);
    ::DestroyWindow(active);
}

TEST_F(RequesterTest, SecondCallReusesTheBrushAndFont) {
    Seen first, second;
    ASSERT_TRUE(Answered([&] { return AnswerInput(first, "1", VK_RETURN); },
                         [&] { EXPECT_STREQ(InputRequester("A", "B", ""), "1"); }));
    LOGBRUSH brush{};
    ASSERT_TRUE(::GetObjectA(first.windowClass.hbrBackground, sizeof brush, &brush));
    EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(brush.lbColor, ::GetSysColor(COLOR_BTNFACE));
    // With its window gone the class can go too, so the second call registers it afresh: with
    // the cached brush, not a new one. (The system deletes a class's brush with the class; the
    // program never gets here, as its own attempt comes while the window still exists.)
    ASSERT_TRUE(::UnregisterClassA("InputRequester", ::GetModuleHandleA(nullptr)));
    ASSERT_TRUE(Answered([&] { return AnswerInput(second, "2", VK_RETURN); },
                         [&] { EXPECT_STREQ(InputRequester("A", "B", ""), "2"); }));
    EXPECT_EQ(first.windowClass.hbrBackground, second.windowClass.hbrBackground);
    const auto stockFont = reinterpret_cast<WPARAM>(::GetStockObject(ANSI_VAR_FONT));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(first.fonts[i], stockFont) << "child " << i;
        EXPECT_EQ(second.fonts[i], stockFont) << "child " << i;
    }
}

// Under Wine, the project's prefix draws the two windows in Windows' own faces, not a fallback:
// the input window's ANSI_VAR_FONT, the message box's font and Marlett's caption buttons (else a
// close button shows "r"). Windows itself has its own message font (Segoe UI).
TEST(WindowFontsTest, FacesAreTheWindowsOnes) {
    if (!::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "not under Wine";
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    LOGFONTA marlett{};
    marlett.lfHeight = -13;
    marlett.lfCharSet = SYMBOL_CHARSET;
    ::lstrcpyA(marlett.lfFaceName, "Marlett");
    HFONT messageFont = ::CreateFontIndirectA(&metrics.lfMessageFont);
    HFONT marlettFont = ::CreateFontIndirectA(&marlett);
    const struct {
        const char* what;
        HGDIOBJ font;
        const char* face;
    } cases[] = {
        {"ANSI_VAR_FONT", ::GetStockObject(ANSI_VAR_FONT), "MS Sans Serif"},
        {"message font", messageFont, "MS Sans Serif"},
        {"caption buttons", marlettFont, "Marlett"},
    };
    HDC screen = ::GetDC(nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HGDIOBJ old = ::SelectObject(screen, c.font);
        char face[LF_FACESIZE] = {};
        ::GetTextFaceA(screen, sizeof face, face);
        ::SelectObject(screen, old);
        EXPECT_STREQ(face, c.face);
    }
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(messageFont);
    ::DeleteObject(marlettFont);
}

// Refuses every window creation in the thread it is installed for, and counts the attempts.
int creationsRefused;
LRESULT CALLBACK RefuseCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HCBT_CREATEWND) return ::CallNextHookEx(nullptr, code, wParam, lParam);
    ++creationsRefused;
    return 1;
}

TEST_F(RequesterTest, WindowThatCannotBeCreatedGivesTheEmptyTextAtOnce) {
    HHOOK hook = ::SetWindowsHookExA(WH_CBT, RefuseCreation, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    creationsRefused = 0;
    char* start = WorkspacePosition();
    *start = 'x';
    // A message loop would take both; the quit ends one that should not have run.
    const DWORD thread = ::GetCurrentThreadId();
    ::PostThreadMessageA(thread, WM_APP, 0, 0);
    ::PostThreadMessageA(thread, WM_QUIT, 0, 0);
    const char* result = InputRequester("A", "B", "");
    ::UnhookWindowsHookEx(hook);
    MSG message;
    const bool loopRan = !::PeekMessageA(&message, nullptr, WM_APP, WM_APP, PM_REMOVE);
    ::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    EXPECT_EQ(result, start);
    EXPECT_STREQ(result, "");
    EXPECT_EQ(WorkspacePosition(), start);
    EXPECT_EQ(creationsRefused, 1) << "only the window's creation is tried";
    EXPECT_FALSE(loopRan) << "no message loop without a window";
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

TEST_F(RequesterTest, NoteShowsOneOkButtonAndIsOwnedByTheForegroundWindow) {
    HWND foreground = ::CreateWindowExA(0, "STATIC", "foreground", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                                        50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(foreground, nullptr);
    ::SetForegroundWindow(foreground);
    ASSERT_EQ(::GetForegroundWindow(), foreground);
    HWND owner = nullptr;
    std::string buttons; // id and text of each visible button
    int answer = 0;
    const auto answerBox = [&] {
        HWND box = WaitOwnWindow("#32770", IDOK);
        if (!box) return false;
        owner = ::GetWindow(box, GW_OWNER);
        for (HWND child = ::GetWindow(box, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            char className[16] = {};
            ::GetClassNameA(child, className, sizeof className);
            if (::lstrcmpiA(className, "Button") == 0 && ::IsWindowVisible(child))
                buttons += std::to_string(::GetDlgCtrlID(child)) + " " + DriverText(child) + ";";
        }
        ::PostMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        return true;
    };
    ASSERT_TRUE(Answered(answerBox, [&] { answer = NoteRequester("Titel", "Text", 0); }));
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(buttons, "1 OK;");
    EXPECT_EQ(owner, foreground);
    ::DestroyWindow(foreground);
}

} // namespace
