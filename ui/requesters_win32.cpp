// The requesters as Win32 windows: a centred top-level input window with its own message loop,
// and a message box.
#include "runtime/strings.h"
#include "ui/requesters.h"

#include <cstring>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

constexpr char ClassName[] = "InputRequester";

// Child ids and command ids of the input window.
constexpr int IdPrompt = 0;
constexpr int IdEdit = 10;
constexpr WORD IdOk = 1000;     // the "Ok" button and Enter
constexpr WORD IdCancel = 1001; // Escape

HINSTANCE requesterInstance;
HBRUSH backgroundBrush; // made on the first call, kept for the life of the process
HFONT font;
HWND promptWindow;
HWND editWindow;
HWND buttonWindow;
bool requesterClosed; // set when the input window is destroyed; ends the message loop

// Owns the accelerator table for one call.
struct AcceleratorGuard {
    HACCEL table;
    ~AcceleratorGuard() {
        if (table) ::DestroyAcceleratorTable(table);
    }
};

LRESULT CALLBACK RequesterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // Only the id counts: the notification code and the sender are not examined.
        if (LOWORD(wParam) == IdOk) {
            const std::size_t room = WorkspaceRoom();
            const auto limit = static_cast<int>(room < InputLimit ? room : InputLimit);
            const int length = ::GetWindowTextA(editWindow, WorkspacePosition(), limit);
            WorkspaceAdvance(static_cast<std::size_t>(length));
            ::DestroyWindow(window);
        } else if (LOWORD(wParam) == IdCancel) {
            *WorkspacePosition() = '\0';
            ::DestroyWindow(window);
        }
        return 0;
    case WM_CLOSE:
        ::DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        // Fails while the window still exists, so the class stays registered and the next
        // call's registration fails in turn; either way the class serves, so the result
        // does not matter.
        ::UnregisterClassA(ClassName, requesterInstance);
        requesterClosed = true;
        // When another process closes the window with a sent message, this runs inside
        // GetMessageA, which would then wait for a posted message that may never come.
        ::PostMessageA(nullptr, WM_NULL, 0, 0);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateChild(DWORD exStyle, const char* className, const char* text, DWORD style, int x, int y,
                 int width, int height, HWND parent, int id) {
    return ::CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                             height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             requesterInstance, nullptr);
}

void SetFont(HWND window) {
    ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

} // namespace

void RequesterStart(void* instance) {
    requesterInstance = static_cast<HINSTANCE>(instance);
}

char* InputRequester(const char* caption, const char* prompt, const char* presetText) {
    char* result = WorkspacePosition();

    if (!backgroundBrush) { // first call? (a failed brush is simply tried again next time)
        LOGBRUSH description{BS_SOLID, ::GetSysColor(COLOR_BTNFACE), 0};
        backgroundBrush = ::CreateBrushIndirect(&description);
        font = static_cast<HFONT>(::GetStockObject(ANSI_VAR_FONT));
    }

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = RequesterProc;
    windowClass.hInstance = requesterInstance;
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = backgroundBrush;
    windowClass.lpszClassName = ClassName;
    // Fails when the class is still registered from an earlier call, which serves as well.
    ::RegisterClassExA(&windowClass);
    requesterClosed = false;

    const int x = ::GetSystemMetrics(SM_CXSCREEN) / 2 - 150;
    const int y = ::GetSystemMetrics(SM_CYSCREEN) / 2 - 65;
    HWND dialog = ::CreateWindowExA(0, ClassName, caption, WS_VISIBLE | WS_CAPTION, x, y, 300, 130,
                                    ::GetActiveWindow(), nullptr, requesterInstance, nullptr);
    if (!dialog) {
        *result = '\0';
        return result;
    }

    promptWindow = CreateChild(0, "STATIC", prompt, SS_SIMPLE, 10, 10, 280, 22, dialog, IdPrompt);
    SetFont(promptWindow);
    editWindow = CreateChild(WS_EX_CLIENTEDGE, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 10, 32, 275,
                             21, dialog, IdEdit);
    SetFont(editWindow);
    ::SetFocus(editWindow);
    if (presetText) {
        ::SendMessageA(editWindow, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(presetText));
        const auto end = static_cast<WPARAM>(std::strlen(presetText));
        ::SendMessageA(editWindow, EM_SETSEL, end, static_cast<LPARAM>(end));
    }
    buttonWindow = CreateChild(0, "BUTTON", "Ok", WS_TABSTOP | BS_DEFPUSHBUTTON, 110, 67, 80, 25,
                               dialog, IdOk);
    SetFont(buttonWindow);

    { // the accelerator table lives until the loop ends
        ACCEL keys[2] = {{FVIRTKEY, VK_RETURN, IdOk}, {FVIRTKEY, VK_ESCAPE, IdCancel}};
        const AcceleratorGuard accelerators{::CreateAcceleratorTableA(keys, 2)};
        ::SetForegroundWindow(dialog);
        ::BringWindowToTop(dialog);

        // -1 (an error) keeps the loop going like any other message; 0 (a quit message) ends
        // it with the window left as it is.
        MSG message{};
        while (!requesterClosed && ::GetMessageA(&message, nullptr, 0, 0)) {
            if (!::TranslateAcceleratorA(dialog, accelerators.table, &message)) {
                ::TranslateMessage(&message);
                ::DispatchMessageA(&message);
            }
        }
    }
    *WorkspacePosition() = '\0';
    return result;
}

int NoteRequester(const char* caption, const char* text, ULong flags) {
    return ::MessageBoxA(::GetForegroundWindow(), text, caption, flags);
}
