// Drives the Windows edition from another process of the same Wine prefix, the way UI
// automation tools do: windows found by class and process, keystrokes posted to the focused
// control so they pass through the program's own message loop, texts read back with
// WM_GETTEXT.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

// Milliseconds any wait gives up after.
inline constexpr DWORD DriverTimeout = 15000;

// The program under test, started from the driver's own directory.
struct Program {
    PROCESS_INFORMATION process{};
    ~Program();
};

// The path of primteiler.exe beside the driver.
std::string DriverProgramPath();

// Starts primteiler.exe (beside the driver); false when it cannot be started.
bool DriverStart(Program& program);

// The top-level window of `program` with class `className` (and caption `caption` when not
// null), once it exists and is visible; null after DriverTimeout.
HWND DriverWaitWindow(const Program& program, const char* className, const char* caption);

// Whether `program` still has a top-level window of `className`, looked at once.
HWND DriverFindWindow(const Program& program, const char* className, const char* caption);

// The window that has the keyboard focus in the thread of `window`.
HWND DriverFocus(HWND window);

// Types `text` into `target` as WM_CHAR messages (a long text goes in with one WM_SETTEXT
// instead) and waits until the edit field holds it all; false when it does not in time.
bool DriverTypeText(HWND target, const std::string& text);

// Posts a key press and release of `key` to `target`.
void DriverKey(HWND target, WORD key);

// Starts xdotool (its Unix path in PRIMTEILER_XDOTOOL) with `arguments`, so input arrives as X
// keyboard events through Wine's X driver, as a person's typing does; false when it could not
// be started. Wine's handle of a Unix process never signals, so the caller waits for the
// effect instead.
bool DriverXdotool(const std::string& arguments);

// Waits until `window`'s text is `text`; false after DriverTimeout.
bool DriverWaitText(HWND window, const std::string& text);

// The text of `window` through WM_GETTEXT (works across processes).
std::string DriverText(HWND window);

// A message box of the program: its caption and the text of its message static.
struct Box {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};

// Waits for a message box of `program` and reads it; window null after DriverTimeout.
Box DriverWaitBox(const Program& program);

// Presses the box's OK button.
void DriverDismissBox(const Box& box);

// Waits for `program` to end; its exit code, or STILL_ACTIVE after DriverTimeout.
DWORD DriverWaitExit(const Program& program, DWORD timeout = DriverTimeout);
