// The program's user interface: a one-line input requester and a note (message box).
#pragma once

#include "runtime/types.h"

// Keeps the module's instance handle (a Win32 HINSTANCE) for the input window's class.
void RequesterStart(void* instance);

// Asks for one line of text under `caption` with `prompt`, `presetText` (may be null) standing
// in the field. The result is written to the workspace at the position current at the call, at
// most 9999 bytes; on return the position stands on its NUL, and the caller protects or commits
// it. Cancelling gives the empty text. Returns the result's start.
char* InputRequester(const char* caption, const char* prompt, const char* presetText);

// Shows `text` under `caption` with the message box type `flags` (0: an OK button, no icon)
// until the user answers; returns the answer (1 for OK).
int NoteRequester(const char* caption, const char* text, ULong flags);
