// The runtime heap and its allocation policy.
#include "runtime/heap.h"

#include "runtime/os_heap.h"
#include "runtime/os_process.h"

#include <cassert>
#include <cstdio>

void* runtimeHeap = nullptr;

namespace {
constexpr std::size_t InitialHeapSize = 4000; // bytes
}

void RuntimeHeapStart() {
    runtimeHeap = OsHeapCreate(InitialHeapSize);
    if (!runtimeHeap) RuntimeOutOfMemory();
}

void RuntimeHeapEnd() {
    if (runtimeHeap) OsHeapDestroy(runtimeHeap);
    runtimeHeap = nullptr;
}

void* RuntimeTryAlloc(std::size_t size, bool zeroed) {
    assert(runtimeHeap && "runtime heap not started");
    return OsHeapAlloc(runtimeHeap, size, zeroed);
}

void* RuntimeAlloc(std::size_t size, bool zeroed) {
    void* block = RuntimeTryAlloc(size, zeroed);
    if (!block) RuntimeOutOfMemory();
    return block;
}

void RuntimeFree(void* block) {
    if (block) OsHeapFree(runtimeHeap, block);
}

void RuntimeOutOfMemory() {
    // A GUI process on Windows has no standard error; the write then fails quietly.
    std::fputs("primteiler: out of memory\n", stderr);
    std::fflush(stderr);
    OsProcessExit(ExitOutOfMemory);
}

void RuntimeEnd(unsigned exitCode) {
    RuntimeHeapEnd();
    OsProcessExit(exitCode);
}
