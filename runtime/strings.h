// The string workspace, string variables and the conversions between text and Long.
//
// Every string expression is built in the one StringWorkspace: each operand is written at the
// workspace position, which then stands on that operand's NUL so the next operand joins it.
// A statement remembers the position where it began (its start), and every complete statement
// leaves the position back there. Writes never pass the end of the block: an expression that
// would not fit is cut at the last byte, which then holds its NUL.
//
// A statement that hands its finished expression to a routine (rather than assigning it)
// protects it first with WorkspaceProtect, so the routine's own workspace use lands behind it:
//
//     char* start = WorkspacePosition();
//     WorkspaceAppend("...");
//     WorkspaceProtect();
//     Use(start);
//     WorkspaceRewind(start);
#pragma once

#include "runtime/types.h"

#include <cstddef>

inline constexpr std::size_t WorkspaceSize = 64000; // bytes

// A heap copy of a finished text, or null (never assigned), which reads as the empty text.
struct StringVariable {
    char* text;
};

// The text a variable holds; never null.
inline const char* StringText(const StringVariable& variable) {
    return variable.text ? variable.text : "";
}

// Allocates the workspace, zero-filled, from runtimeHeap (started before) and sets the
// position to its first byte. Ends the process when the heap refuses (see runtime/heap.h).
void WorkspaceStart();

// The first byte of the workspace block.
char* WorkspaceBase();

// Where the next operand will be written.
char* WorkspacePosition();

// Sets the position back to `start`, the beginning of the current statement.
void WorkspaceRewind(char* start);

// Bytes from the position to the end of the block, the byte for a NUL included; at least 1.
std::size_t WorkspaceRoom();

// Moves the position forward by `length` bytes, which a routine has just written there
// itself; it never moves past the last byte.
void WorkspaceAdvance(std::size_t length);

// Moves the position one byte past the NUL it stands on, so that the expression ending there
// is not overwritten by what a called routine writes. At the last byte it stays put: only a
// NUL can be written there, and the expression keeps its end.
void WorkspaceProtect();

// Copies `text` (not null) and its NUL to the position; the position moves onto the copied
// NUL. Cut at the end of the block.
void WorkspaceAppend(const char* text);

// Appends the variable's text. A never-assigned variable adds nothing: four zero bytes (fewer
// at the end of the block) end the workspace text at the position, which does not move.
void WorkspaceAppend(const StringVariable& variable);

// Assigns the expression from `start` up to the position to `variable`: frees its old copy,
// stores a fresh heap copy (not zero-filled) and rewinds the position to `start`.
void WorkspaceCommit(StringVariable& variable, char* start);

// Frees the variable's old copy and leaves it null; then, when `text` is not null, stores a
// heap copy of it (the empty text gives a one-byte copy, not null). `text` must not be the
// variable's own copy, which is freed before `text` is read.
void StringAssign(StringVariable& variable, const char* text);

// The value of a decimal text: leading spaces (byte 32 only) skipped, one optional "-" or "+",
// then the run of digits, computed modulo 2^32. No digits, or a null text, give 0.
Long TextToLong(const char* text);

// Writes `value` as signed decimal text at the position, moves the position onto its NUL and
// returns where the text begins. Cut at the end of the block.
char* LongToText(Long value);
