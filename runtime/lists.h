// Cursor lists: doubly linked lists of fixed-size elements whose variable carries a cursor.
//
// Every operation works relative to the cursor (the current element, or none). Elements and
// headers come zero-filled from runtimeHeap and live until the heap is destroyed; a failed
// allocation ends the process (see runtime/heap.h), so no operation returns a null element
// for lack of memory.
#pragma once

#include "runtime/types.h"

#include <cassert>
#include <cstddef>

struct ListElement {
    ListElement* next;     // null on the last element
    ListElement* previous; // null on the first element
    // the value (elementSize - sizeof(ListElement) bytes) follows
};

struct ListHeader {
    ListElement* first; // null exactly when the list is empty, as is `last`
    ListElement* last;
    ULong elementSize; // bytes: the two links plus the value
};

// The list variable. Zero (no header, no cursor) until ListCreate.
struct CursorList {
    ListHeader* header;
    ListElement* cursor; // an element of this list, or null: no current element
};

// Gives `list` a fresh empty header for values of `valueSize` bytes; the cursor is untouched.
void ListCreate(CursorList& list, std::size_t valueSize);

// Links a zero-filled element in right after the cursor (at the head when there is no cursor)
// and makes it current. Returns it; never null.
ListElement* ListAdd(CursorList& list);

// Number of elements, counted along `next` from the first.
Long ListCount(const CursorList& list);

// Leaves no current element; the next ListNext returns the first.
inline void ListReset(CursorList& list) {
    list.cursor = nullptr;
}

// Advances the cursor and returns the new current element. With no cursor that is the first
// element (null, and no cursor, for an empty list). On the last element it returns null and
// the cursor stays there.
inline ListElement* ListNext(CursorList& list) {
    assert(list.header && "list used before ListCreate");
    if (!list.cursor) return list.cursor = list.header->first; // no current element yet?
    if (!list.cursor->next) return nullptr;                    // on the last element?
    return list.cursor = list.cursor->next;
}

// Makes the last element current (no cursor for an empty list).
inline void ListLast(CursorList& list) {
    assert(list.header && "list used before ListCreate");
    list.cursor = list.header->last;
}

// The Long value of an element of a list created for Long values.
inline Long& ListLong(ListElement* element) {
    return *reinterpret_cast<Long*>(element + 1);
}
