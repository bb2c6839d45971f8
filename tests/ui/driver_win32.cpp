// Drives the Windows edition from another process; see driver_win32.h.
#include "driver_win32.h"

#include <vector>

namespace {

// Polls `probe` until it gives a non-null window or the timeout passes; Wine's
// WaitForInputIdle returns at once, so there is nothing better to wait on.
template <class Probe> HWND Poll(Probe probe, DWORD timeout = DriverTimeout) {
    const ULONGLONG end = ::GetTickCount64() + timeout;
    do {
        if (HWND window = probe()) return window;
        ::Sleep(20);
    } while (::GetTickCount64() < end);
    return nullptr;
}

struct Search {
    DWORD processId;
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId != search.processId || !::IsWindowVisible(window)) return TRUE;
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (std::string(className) != search.className) return TRUE;
    if (search.caption && DriverText(window) != search.caption) return TRUE;
    search.found = window;
    return FALSE;
}

} // namespace

std::string DriverProgramPath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory = path;
    directory.resize(directory.find_last_of("\\/") + 1);
    return directory + "primteiler.exe";
}

Program::~Program() {
    if (!process.hProcess) return;
    if (::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
        ::TerminateProcess(process.hProcess, 99); // a failed test must not leave it behind
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

bool DriverStart(Program& program) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + DriverProgramPath() + "\"";
    return ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &program.process) != 0;
}

HWND DriverFindWindow(const Program& program, const char* className, const char* caption) {
    Search search{program.process.dwProcessId, className, caption, nullptr};
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND DriverWaitWindow(const Program& program, const char* className, const char* caption) {
    return Poll([&] { return DriverFindWindow(program, className, caption); });
}

HWND DriverFocus(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

bool DriverTypeText(HWND target, const std::string& text) {
    // Each typed character costs the edit field a new layout of its whole line; with Wine's
    // Uniscribe under an emulated i386 a text of thousands of characters would take many
    // minutes to type, and even one WM_SETTEXT of ten thousand takes half a minute.
    constexpr std::size_t LongText = 64;
    constexpr DWORD SetTextTimeout = 8 * DriverTimeout;
    const std::size_t expected = DriverText(target).size() + text.size();
    if (text.size() > LongText) {
        const std::string whole = DriverText(target) + text;
        DWORD_PTR ignored = 0;
        if (!::SendMessageTimeoutA(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(whole.c_str()),
                                   SMTO_ABORTIFHUNG, SetTextTimeout, &ignored))
            return false;
        const auto end = static_cast<WPARAM>(whole.size());
        ::PostMessageA(target, EM_SETSEL, end, static_cast<LPARAM>(end));
    } else {
        for (const char c : text)
            ::PostMessageA(target, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    return Poll([&] { return DriverText(target).size() >= expected ? target : nullptr; }) !=
           nullptr;
}

void DriverKey(HWND target, WORD key) {
    const UINT scan = ::MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
    ::PostMessageA(target, WM_KEYDOWN, key, static_cast<LPARAM>(1 | (scan << 16)));
    ::PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(1 | (scan << 16) | (3u << 30)));
}

bool DriverXdotool(const std::string& arguments) {
    char path[MAX_PATH] = {};
    if (!::GetEnvironmentVariableA("PRIMTEILER_XDOTOOL", path, MAX_PATH)) return false;
    std::string commandLine = std::string(path) + " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

bool DriverWaitText(HWND window, const std::string& text) {
    return Poll([&] { return DriverText(window) == text ? window : nullptr; }) != nullptr;
}

std::string DriverText(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    std::vector<char> text(length + 1);
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, 5000, &copied);
    return std::string(text.data(), copied);
}

Box DriverWaitBox(const Program& program) {
    Box box;
    box.window = DriverWaitWindow(program, "#32770", nullptr);
    if (!box.window || !Poll([&] { return ::GetDlgItem(box.window, IDOK); })) {
        box.window = nullptr;
        return box;
    }
    box.caption = DriverText(box.window);
    // The message text is the static with id 0xFFFF (Wine adds an icon static beside it).
    if (HWND message = ::GetDlgItem(box.window, 0xFFFF)) box.text = DriverText(message);
    return box;
}

void DriverDismissBox(const Box& box) {
    ::PostMessageA(::GetDlgItem(box.window, IDOK), BM_CLICK, 0, 0);
}

DWORD DriverWaitExit(const Program& program, DWORD timeout) {
    if (::WaitForSingleObject(program.process.hProcess, timeout) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(program.process.hProcess, &code);
    return code;
}
