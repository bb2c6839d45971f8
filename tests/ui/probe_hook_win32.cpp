// Test hook DLL. Installed for the program's thread with WH_GETMESSAGE, it runs inside the
// program's process, where it can see what other processes cannot under Wine (a control's
// font, a class's brush), and writes that to shared memory for the driver.
#include "probe_win32.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ProbeGetMessage(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT probeMessage = ::RegisterWindowMessageA(ProbeMessageName);
    const MSG& message = *reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message.message == probeMessage) {
        HANDLE mapping = ::OpenFileMappingA(FILE_MAP_WRITE, FALSE, ProbeMappingName);
        if (mapping) {
            if (auto* result = static_cast<ProbeResult*>(
                    ::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(ProbeResult)))) {
                HWND dialog = message.hwnd;
                const auto stockFont = reinterpret_cast<LRESULT>(::GetStockObject(ANSI_VAR_FONT));
                const int ids[3] = {0, 10, 1000};
                for (int i = 0; i < 3; ++i)
                    result->fontIsAnsiVar[i] =
                        ::SendMessageA(::GetDlgItem(dialog, ids[i]), WM_GETFONT, 0, 0) == stockFont;
                auto brush =
                    reinterpret_cast<HBRUSH>(::GetClassLongPtrA(dialog, GCLP_HBRBACKGROUND));
                LOGBRUSH description{};
                if (brush && ::GetObjectA(brush, sizeof description, &description)) {
                    result->brushIsSolid = description.lbStyle == BS_SOLID;
                    result->brushColor = description.lbColor;
                }
                result->buttonFaceColor = ::GetSysColor(COLOR_BTNFACE);
                result->focusIsEdit = ::GetFocus() == ::GetDlgItem(dialog, 10);
                result->answered = 1;
                ::UnmapViewOfFile(result);
            }
            ::CloseHandle(mapping);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
