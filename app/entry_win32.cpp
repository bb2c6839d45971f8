// Process entry of the Windows edition; the command line is ignored.
#include "app/program.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ProgramMain(::GetModuleHandleA(nullptr));
}
