// Test heap backend with scheduled failures; see fake_heap.h.
#include "fake_heap.h"
#include "runtime/os_heap.h"

#include <cstdlib>
#include <cstring>
#include <set>

namespace {

struct FakeHeap {
    std::set<void*> blocks;
};

std::size_t failCountdown; // 0: no failure scheduled
std::size_t liveBlocks;
std::string events;

} // namespace

void FakeHeapFailAt(std::size_t n) {
    failCountdown = n;
}
std::size_t FakeHeapLiveBlocks() {
    return liveBlocks;
}
const std::string& FakeHeapLog() {
    return events;
}

void* OsHeapCreate(std::size_t) {
    return new FakeHeap;
}

void* OsHeapAlloc(void* heap, std::size_t size, bool zeroed) {
    events += 'a';
    if (failCountdown != 0 && --failCountdown == 0) return nullptr;
    void* block = std::malloc(size == 0 ? 1 : size);
    if (!block) return nullptr;
    // Not zeroed: fill with junk so that a reader of unwritten bytes is caught.
    std::memset(block, zeroed ? 0 : 0xA5, size);
    static_cast<FakeHeap*>(heap)->blocks.insert(block);
    ++liveBlocks;
    return block;
}

void OsHeapFree(void* heap, void* block) {
    if (!block) return;
    auto& blocks = static_cast<FakeHeap*>(heap)->blocks;
    if (blocks.erase(block) == 0) std::abort(); // not a block of this heap
    std::free(block);
    --liveBlocks;
    events += 'f';
}

void OsHeapDestroy(void* heap) {
    auto* owner = static_cast<FakeHeap*>(heap);
    for (void* block : owner->blocks)
        std::free(block);
    liveBlocks -= owner->blocks.size();
    delete owner;
}
