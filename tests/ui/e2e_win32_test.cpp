// The Windows edition end to end under Wine in an X display: the real primteiler.exe, driven
// from this process by keystrokes and clicks, read back from its windows.
#include "driver_win32.h"
#include "support/worked_examples.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>

namespace {

constexpr char InputClass[] = "InputRequester";

// The input window of a freshly started program once its last child, the "Ok" button, exists
// (the window is visible before its children are made); null after DriverTimeout.
HWND StartAndWaitForInput(Program& program) {
    if (!DriverStart(program)) return nullptr;
    HWND input = DriverWaitWindow(program, InputClass, InputCaption);
    for (DWORD waited = 0; input && !::GetDlgItem(input, 1000); waited += 20) {
        if (waited > DriverTimeout) return nullptr;
        ::Sleep(20);
    }
    return input;
}

// How a case ends the input.
enum class Finish {
    Enter,       // the Enter key through the accelerator table
    Escape,      // the Escape key
    ClickPosted, // BM_CLICK posted to "Ok", as a mouse click ends up
    ClickSent,   // BM_CLICK sent from this process, as automation tools do
    ClosePosted, // WM_CLOSE posted, as a window manager's close does
    CloseSent,   // WM_CLOSE sent from this process
};

void FinishInput(HWND input, HWND edit, Finish finish) {
    HWND ok = ::GetDlgItem(input, 1000);
    DWORD_PTR ignored = 0;
    switch (finish) {
    case Finish::Enter:
        DriverKey(edit, VK_RETURN);
        break;
    case Finish::Escape:
        DriverKey(edit, VK_ESCAPE);
        break;
    case Finish::ClickPosted:
        ::PostMessageA(ok, BM_CLICK, 0, 0);
        break;
    case Finish::ClickSent:
        ::SendMessageTimeoutA(ok, BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &ignored);
        break;
    case Finish::ClosePosted:
        ::PostMessageA(input, WM_CLOSE, 0, 0);
        break;
    case Finish::CloseSent:
        ::SendMessageTimeoutA(input, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, &ignored);
        break;
    }
}

// Types `typed` into a freshly started program, ends the input by `finish`, and expects what
// `example` shows and exit code 0.
void ExpectRun(const std::string& typed, Finish finish, const WorkedExample& example) {
    Program program;
    HWND input = StartAndWaitForInput(program);
    ASSERT_NE(input, nullptr) << "no input window";
    HWND edit = DriverFocus(input);
    ASSERT_EQ(edit, ::GetDlgItem(input, 10)) << "the edit field must have the focus";
    ASSERT_TRUE(DriverTypeText(edit, typed));
    FinishInput(input, edit, finish);
    if (example.shows != Shows::Nothing) {
        const Box box = DriverWaitBox(program);
        ASSERT_NE(box.window, nullptr) << "no message box";
        if (example.shows == Shows::Report) {
            EXPECT_EQ(box.caption, ReportCaption);
            EXPECT_TRUE(
                std::regex_match(box.text, std::regex(WorkedReportPattern(example, "\r\n"))))
                << box.text;
        } else {
            EXPECT_EQ(box.caption, ErrorCaption);
            EXPECT_EQ(box.text, ErrorText);
        }
        EXPECT_EQ(DriverFindWindow(program, InputClass, nullptr), nullptr)
            << "input window still there";
        DriverDismissBox(box);
    }
    EXPECT_EQ(DriverWaitExit(program), 0u);
    if (example.shows == Shows::Nothing) {
        EXPECT_EQ(DriverFindWindow(program, "#32770", nullptr), nullptr) << "unexpected box";
    }
}

TEST(WindowsEditionTest, WorkedExamplesTypedAndEntered) {
    for (const WorkedExample& example : WorkedExamples) {
        SCOPED_TRACE(example.entered);
        ExpectRun(example.entered, Finish::Enter, example);
    }
}

TEST(WindowsEditionTest, EachWayOfEndingTheInput) {
    struct Case {
        const char* name;
        std::string typed;
        Finish finish;
        const char* showsAs; // the worked example whose box appears
    };
    // clang-format off
    const Case cases[] = {
        {"a click on Ok", "97", Finish::ClickPosted, "97"},
        {"click sent by another process", "12", Finish::ClickSent, "12"},
        {"Escape", "123", Finish::Escape, ""},
        {"close by the window manager", "12", Finish::ClosePosted, ""},
        {"close sent by another process", "12", Finish::CloseSent, ""},
        {"entry longer than the limit", LongEntry(), Finish::Enter, LongEntryShowsAs},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectRun(c.typed, c.finish, WorkedExampleFor(c.showsAs));
    }
}

struct Child {
    int id;
    const char* className;
    const char* text;
    RECT rect; // client coordinates of the input window: left, top, right, bottom
    LONG style;
    LONG exStyle;
};

TEST(WindowsEditionTest, InputWindowIsBuiltAsLaidOut) {
    Program program;
    HWND input = StartAndWaitForInput(program);
    ASSERT_NE(input, nullptr);

    RECT outer{};
    ::GetWindowRect(input, &outer);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), 800) << "the test display is 800 x 600";
    EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN), 600);
    EXPECT_EQ(outer.left, 250);
    EXPECT_EQ(outer.top, 235);
    EXPECT_EQ(outer.right - outer.left, 300);
    EXPECT_EQ(outer.bottom - outer.top, 130);
    // The system adds WS_CLIPSIBLINGS and WS_EX_WINDOWEDGE to a captioned top-level window.
    EXPECT_EQ(::GetWindowLongA(input, GWL_STYLE), WS_VISIBLE | WS_CAPTION | WS_CLIPSIBLINGS);
    EXPECT_EQ(::GetWindowLongA(input, GWL_EXSTYLE), WS_EX_WINDOWEDGE);
    EXPECT_EQ(::GetWindow(input, GW_OWNER), nullptr) << "no window was active at the start";

    // clang-format off
    const Child children[] = {
        {0, "Static", InputPrompt, {10, 10, 290, 32},
         WS_CHILD | WS_VISIBLE | SS_SIMPLE, 0},
        {10, "Edit", "", {10, 32, 285, 53},
         WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
        {1000, "Button", "Ok", {110, 67, 190, 92},
         WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    };
    // clang-format on
    HWND child = ::GetWindow(input, GW_CHILD);
    for (const Child& expected : children) {
        SCOPED_TRACE(expected.className);
        ASSERT_NE(child, nullptr) << "missing child";
        char className[64] = {};
        ::GetClassNameA(child, className, sizeof className);
        EXPECT_STRCASEEQ(className, expected.className);
        EXPECT_EQ(::GetDlgCtrlID(child), expected.id);
        EXPECT_EQ(DriverText(child), expected.text);
        RECT rect{};
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, input, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, expected.rect.left);
        EXPECT_EQ(rect.top, expected.rect.top);
        EXPECT_EQ(rect.right, expected.rect.right);
        EXPECT_EQ(rect.bottom, expected.rect.bottom);
        EXPECT_EQ(::GetWindowLongA(child, GWL_STYLE), expected.style);
        EXPECT_EQ(::GetWindowLongA(child, GWL_EXSTYLE), expected.exStyle);
        child = ::GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more than three children";
    EXPECT_EQ(DriverFocus(input), ::GetDlgItem(input, 10));
    EXPECT_EQ(::GetForegroundWindow(), input);

    ::PostMessageA(input, WM_CLOSE, 0, 0);
    EXPECT_EQ(DriverWaitExit(program), 0u);
}

TEST(WindowsEditionTest, TabDoesNotMoveTheFocus) {
    Program program;
    HWND input = StartAndWaitForInput(program);
    ASSERT_NE(input, nullptr);
    HWND edit = ::GetDlgItem(input, 10);
    ASSERT_TRUE(DriverTypeText(edit, "1"));
    DriverKey(edit, VK_TAB);
    ::PostMessageA(edit, WM_CHAR, '\t', 1);
    ASSERT_TRUE(DriverTypeText(edit, "2"));
    EXPECT_EQ(DriverFocus(input), edit);
    EXPECT_EQ(DriverText(edit), "12") << "a single-line edit drops the tab";
    DriverKey(edit, VK_RETURN);
    const Box box = DriverWaitBox(program);
    ASSERT_NE(box.window, nullptr);
    EXPECT_TRUE(std::regex_match(box.text,
                                 std::regex(WorkedReportPattern(WorkedExampleFor("12"), "\r\n"))));
    DriverDismissBox(box);
    EXPECT_EQ(DriverWaitExit(program), 0u);
}

// Typing on the X keyboard: the keys travel through Wine's X driver and the program's
// accelerator table like a person's, and the report box is answered the same way.
TEST(WindowsEditionTest, KeysTypedOnTheXKeyboard) {
    struct KeyCase {
        const char* typed;
        const char* key;
        const char* showsAs; // the worked example whose box appears
    };
    for (const KeyCase& c : {KeyCase{"360", "Return", "360"}, KeyCase{"123", "Escape", ""}}) {
        SCOPED_TRACE(c.key);
        Program program;
        HWND input = StartAndWaitForInput(program);
        ASSERT_NE(input, nullptr);
        HWND edit = ::GetDlgItem(input, 10);
        ASSERT_TRUE(DriverXdotool(std::string("type --delay 30 ") + c.typed));
        ASSERT_TRUE(DriverWaitText(edit, c.typed)) << DriverText(edit);
        ASSERT_TRUE(DriverXdotool(std::string("key ") + c.key));
        const WorkedExample& example = WorkedExampleFor(c.showsAs);
        if (example.shows == Shows::Report) {
            const Box box = DriverWaitBox(program);
            ASSERT_NE(box.window, nullptr);
            EXPECT_TRUE(
                std::regex_match(box.text, std::regex(WorkedReportPattern(example, "\r\n"))))
                << box.text;
            ASSERT_TRUE(DriverXdotool("key Return"));
        }
        EXPECT_EQ(DriverWaitExit(program), 0u);
    }
}

// Keeps the first resource name (an id) in the ULONG_PTR at `found`.
BOOL CALLBACK KeepFirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    *reinterpret_cast<ULONG_PTR*>(found) = reinterpret_cast<ULONG_PTR>(name);
    return FALSE;
}

// The file's icon as Explorer takes it: the first icon group, holding 32-bit (alpha) images of
// 16 and 32 pixels that Windows can make icons of.
TEST(WindowsEditionTest, ExeCarriesItsIcon) {
    struct Module { // the exe, mapped as data
        HMODULE handle;
        ~Module() {
            if (handle) ::FreeLibrary(handle);
        }
    } exe{::LoadLibraryExA(DriverProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)};
    ASSERT_NE(exe.handle, nullptr);
    ULONG_PTR first = 0;
    ::EnumResourceNamesA(exe.handle, RT_GROUP_ICON, KeepFirstName,
                         reinterpret_cast<LONG_PTR>(&first));
    EXPECT_EQ(first, 1u) << "the icon group is resource 1";
    HRSRC group = ::FindResourceA(exe.handle, MAKEINTRESOURCEA(1), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    auto* directory = static_cast<BYTE*>(::LockResource(::LoadResource(exe.handle, group)));

#pragma pack(push, 2)
    struct GroupEntry { // as the group resource lists each image
        BYTE width, height, colors, reserved;
        WORD planes, bitsPerPixel;
        DWORD bytes;
        WORD id;
    };
#pragma pack(pop)
    WORD count = 0;
    std::memcpy(&count, directory + 4, sizeof count);
    for (LONG size : {16, 32}) {
        SCOPED_TRACE(size);
        GroupEntry entry{};
        for (WORD i = 0; i < count && entry.width != size; ++i)
            std::memcpy(&entry, directory + 6 + i * sizeof entry, sizeof entry);
        ASSERT_EQ(entry.width, size);
        EXPECT_EQ(entry.height, size);
        EXPECT_EQ(entry.bitsPerPixel, 32);
        EXPECT_EQ(::LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR),
                  entry.id);
        // The image itself: a bitmap of that size with an alpha channel (its height counts the
        // colour rows and the mask rows).
        HRSRC image = ::FindResourceA(exe.handle, MAKEINTRESOURCEA(entry.id), RT_ICON);
        ASSERT_NE(image, nullptr);
        auto* bits = static_cast<BYTE*>(::LockResource(::LoadResource(exe.handle, image)));
        BITMAPINFOHEADER header{};
        std::memcpy(&header, bits, sizeof header);
        EXPECT_EQ(header.biWidth, size);
        EXPECT_EQ(header.biHeight, 2 * size);
        EXPECT_EQ(header.biBitCount, 32);
        HICON icon = ::CreateIconFromResourceEx(bits, ::SizeofResource(exe.handle, image), TRUE,
                                                0x00030000, size, size, LR_DEFAULTCOLOR);
        EXPECT_NE(icon, nullptr) << "Windows makes no icon of it";
        if (icon) ::DestroyIcon(icon);
    }
}

} // namespace
