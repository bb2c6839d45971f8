// What the probe hook reads inside the program's process and hands back to the driver.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// Registered message the driver posts to the input window to have the hook answer.
inline constexpr char ProbeMessageName[] = "primteiler.probe";
// Named shared memory that holds a ProbeResult.
inline constexpr char ProbeMappingName[] = "primteiler.probe.result";

struct ProbeResult {
    LONG answered;
    LONG fontIsAnsiVar[3];    // prompt, edit field, button: WM_GETFONT is the stock ANSI_VAR_FONT
    LONG brushIsSolid;        // the class background brush is a solid brush
    COLORREF brushColor;      // its colour
    COLORREF buttonFaceColor; // GetSysColor(COLOR_BTNFACE) in the program's process
    LONG focusIsEdit;         // GetFocus() in the program's thread is the edit field
};
