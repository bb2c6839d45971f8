// The program's main routine.
#pragma once

// Runs the whole program once: asks for a number, factors it, derives its divisors and shows
// the report; then ends the process with exit code 0. `instance` is the module's instance
// handle (a Win32 HINSTANCE; null where there is none). Never returns.
[[noreturn]] void ProgramMain(void* instance);

// ProgramMain up to its end: starts the runtime, asks, computes and shows the report or the
// error, and returns with runtimeHeap still in place. An empty entry (nothing typed, or the
// input cancelled) returns at once; a value below 2, or digits above 2^31 - 1, return after
// the error box.
void ProgramRun(void* instance);
