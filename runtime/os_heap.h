// Platform seam: a private, growable heap (Win32 HeapCreate and friends, or our own stand-in).
#pragma once

#include <cstddef>

// Creates a private heap; returns its handle (a Win32 HANDLE) or null when none can be made.
void* OsHeapCreate(std::size_t initialSize);

// Returns a block of `size` bytes, all zero when `zeroed`; null when the heap refuses.
void* OsHeapAlloc(void* heap, std::size_t size, bool zeroed);

// Gives back one block taken from `heap`; null is ignored.
void OsHeapFree(void* heap, void* block);

// Releases the heap and every block it still holds.
void OsHeapDestroy(void* heap);
