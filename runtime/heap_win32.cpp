// Private heap on Win32: the KERNEL32 heap functions as they are.
#include "runtime/os_heap.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

void* OsHeapCreate(std::size_t initialSize) {
    return ::HeapCreate(0, initialSize, 0); // maximum 0: growable
}

void* OsHeapAlloc(void* heap, std::size_t size, bool zeroed) {
    return ::HeapAlloc(static_cast<HANDLE>(heap), zeroed ? HEAP_ZERO_MEMORY : 0, size);
}

void OsHeapFree(void* heap, void* block) {
    if (block) ::HeapFree(static_cast<HANDLE>(heap), 0, block);
}

void OsHeapDestroy(void* heap) {
    ::HeapDestroy(static_cast<HANDLE>(heap));
}
