// The program's user interface: a one-line input requester and a note (message box).
#pragma once

#include "runtime/types.h"

#include <cstddef>

// Exit code of a console edition whose standard input or output failed (a read error, or a
// note that could not be written). The window edition never ends with it.
inline constexpr unsigned ExitConsoleFailed = 1;

// Exit code of the desktop edition when there is no display to show its windows on.
inline constexpr unsigned ExitNoDisplay = 1;

// Bytes of entered text the input requester takes, its NUL included: what the input window's
// edit field hands over.
inline constexpr std::size_t InputLimit = 10000;

// Keeps the module's instance handle (a Win32 HINSTANCE) for the input window's class. The
// console edition checks at exit that standard output was closed without error.
void RequesterStart(void* instance);

// Asks for one line of text under `caption` with `prompt`, `presetText` (may be null) standing
// in the field. The result is written to the workspace at the position current at the call, at
// most 9999 bytes; on return the position stands on its NUL, and the caller protects or commits
// it. Cancelling (or the end of input) gives the empty text; a read error ends the process with
// ExitConsoleFailed. Returns the result's start.
char* InputRequester(const char* caption, const char* prompt, const char* presetText);

// Shows `text` under `caption` with the message box type `flags` (0: an OK button, no icon)
// until the user answers; returns the answer (1 for OK). A note that cannot be written out ends
// the process with ExitConsoleFailed.
int NoteRequester(const char* caption, const char* text, ULong flags);
