// The program's main routine.
#pragma once

// Runs the whole program once: asks for a number, factors it, derives its divisors and shows
// the report; then ends the process with exit code 0. `instance` is the module's instance
// handle (a Win32 HINSTANCE; null where there is none). Never returns.
[[noreturn]] void ProgramMain(void* instance);
