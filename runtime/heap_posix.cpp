// Private heap stand-in: malloc'd blocks chained into their heap so that destroying the heap
// releases every block still held, as HeapDestroy does.
#include "runtime/os_heap.h"

#include <cstddef>
#include <cstdlib>

namespace {

struct BlockHeader {
    BlockHeader* next;
    BlockHeader* previous;
};

struct PosixHeap {
    BlockHeader* blocks; // most recent first
};

// Keeps the payload aligned as malloc would.
constexpr std::size_t HeaderSize = (sizeof(BlockHeader) + alignof(std::max_align_t) - 1) /
                                   alignof(std::max_align_t) * alignof(std::max_align_t);

BlockHeader* HeaderOf(void* block) {
    return reinterpret_cast<BlockHeader*>(static_cast<unsigned char*>(block) - HeaderSize);
}

} // namespace

void* OsHeapCreate(std::size_t /*initialSize: the stand-in grows from nothing*/) {
    return std::calloc(1, sizeof(PosixHeap));
}

void* OsHeapAlloc(void* heap, std::size_t size, bool zeroed) {
    if (size > static_cast<std::size_t>(-1) - HeaderSize) return nullptr; // cannot be counted?
    void* raw = zeroed ? std::calloc(1, HeaderSize + size) : std::malloc(HeaderSize + size);
    if (!raw) return nullptr;
    auto* owner = static_cast<PosixHeap*>(heap);
    auto* header = static_cast<BlockHeader*>(raw);
    header->previous = nullptr;
    header->next = owner->blocks;
    if (owner->blocks) owner->blocks->previous = header;
    owner->blocks = header;
    return static_cast<unsigned char*>(raw) + HeaderSize;
}

void OsHeapFree(void* heap, void* block) {
    if (!block) return;
    auto* owner = static_cast<PosixHeap*>(heap);
    BlockHeader* header = HeaderOf(block);
    if (header->previous)
        header->previous->next = header->next;
    else
        owner->blocks = header->next;
    if (header->next) header->next->previous = header->previous;
    std::free(header);
}

void OsHeapDestroy(void* heap) {
    auto* owner = static_cast<PosixHeap*>(heap);
    if (!owner) return;
    for (BlockHeader* header = owner->blocks; header;) {
        BlockHeader* next = header->next;
        std::free(header);
        header = next;
    }
    std::free(owner);
}
