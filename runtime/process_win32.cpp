// Ending the process on Win32.
#include "runtime/os_process.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

void OsProcessExit(unsigned code) {
    ::ExitProcess(code);
}
