// The runtime heap: the one private heap every dynamic block of the program comes from.
//
// Allocation policy: lists, list headers, string copies and the workspace must get their
// memory; when the heap refuses, the process ends at once through RuntimeOutOfMemory (exit code
// ExitOutOfMemory) rather than write through a null block or carry on with lost data. Only the
// record array notices a failure and carries on: it takes its block with RuntimeTryAlloc.
#pragma once

#include <cstddef>

// Exit code of a process the runtime ended because its heap ran out.
inline constexpr unsigned ExitOutOfMemory = 3;

// Handle of the heap (a Win32 HANDLE); null before RuntimeHeapStart and after RuntimeHeapEnd.
extern void* runtimeHeap;

// Creates runtimeHeap (growable, 4000 bytes to begin with). Ends the process when it cannot.
void RuntimeHeapStart();

// Destroys runtimeHeap and with it every block still held; runtimeHeap becomes null.
void RuntimeHeapEnd();

// Returns a block of `size` bytes (zero-filled when `zeroed`); never null: ends the process
// when the heap refuses.
void* RuntimeAlloc(std::size_t size, bool zeroed);

// Returns a block of `size` bytes (zero-filled when `zeroed`), or null when the heap refuses.
void* RuntimeTryAlloc(std::size_t size, bool zeroed);

// Gives one block back to runtimeHeap; null is ignored.
void RuntimeFree(void* block);

// Ends the process with ExitOutOfMemory, after a line on standard error where there is one.
[[noreturn]] void RuntimeOutOfMemory();

// The program's last step: destroys runtimeHeap (every list, array and string at once) and ends
// the process with `exitCode`.
[[noreturn]] void RuntimeEnd(unsigned exitCode);
