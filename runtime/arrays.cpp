// Record array dimensioning.
#include "runtime/arrays.h"

#include "runtime/heap.h"

#include <cstdint>

void ArrayDim(void*& array, std::size_t recordSize, ULong count, ULong tag) {
    if (array) RuntimeFree(const_cast<RecordArrayHeader*>(ArrayHeader(array)));
    array = nullptr;
    constexpr std::size_t Limit = SIZE_MAX - sizeof(RecordArrayHeader);
    if (recordSize != 0 && count > Limit / recordSize) return; // size not even countable?
    void* block = RuntimeTryAlloc(sizeof(RecordArrayHeader) + count * recordSize, true);
    if (!block) return;
    auto* header = static_cast<RecordArrayHeader*>(block);
    header->count = count;
    header->tag = tag;
    array = header + 1;
}
