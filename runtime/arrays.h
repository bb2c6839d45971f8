// Record arrays: zero-filled arrays of fixed-size records in one block with a two-word header.
#pragma once

#include "runtime/types.h"

#include <cstddef>

// Lies just before the first record; the array variable points at the records.
struct RecordArrayHeader {
    ULong count; // records asked for: highest index + 1
    ULong tag;   // the caller's mark; the runtime never reads it
};
static_assert(sizeof(RecordArrayHeader) == 8, "the header is two 32-bit words");

// Releases the block `array` points into (if any), then allocates a zero-filled block for
// `count` records of `recordSize` bytes, writes the header and points `array` at the first
// record. The one allocation that notices failure: then no header is written and `array` is
// left null (the old block is already gone).
void ArrayDim(void*& array, std::size_t recordSize, ULong count, ULong tag);

// Typed form of ArrayDim for arrays of `Record`.
template <class Record> void ArrayDim(Record*& array, ULong count, ULong tag) {
    static_assert(alignof(Record) <= sizeof(RecordArrayHeader), "records follow the header");
    void* records = array;
    ArrayDim(records, sizeof(Record), count, tag);
    array = static_cast<Record*>(records);
}

// The header of a dimensioned (non-null) array.
inline const RecordArrayHeader* ArrayHeader(const void* array) {
    return static_cast<const RecordArrayHeader*>(array) - 1;
}
