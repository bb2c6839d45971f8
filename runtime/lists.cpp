// Cursor list operations that allocate or walk the whole list.
#include "runtime/lists.h"

#include "runtime/heap.h"

static_assert(sizeof(ListElement) % alignof(Long) == 0, "the value must be aligned");

void ListCreate(CursorList& list, std::size_t valueSize) {
    auto* header = static_cast<ListHeader*>(RuntimeAlloc(sizeof(ListHeader), true));
    header->elementSize = static_cast<ULong>(sizeof(ListElement) + valueSize);
    list.header = header;
}

ListElement* ListAdd(CursorList& list) {
    assert(list.header && "list used before ListCreate");
    ListHeader& header = *list.header;
    auto* element = static_cast<ListElement*>(RuntimeAlloc(header.elementSize, true));
    if (!list.cursor) { // no current element: the new one becomes the head
        element->next = header.first;
        if (header.first) header.first->previous = element;
        element->previous = nullptr;
    } else {
        element->previous = list.cursor;
        element->next = list.cursor->next;
        if (list.cursor->next) list.cursor->next->previous = element;
        list.cursor->next = element;
    }
    list.cursor = element;
    if (!element->previous) header.first = element;
    if (!element->next) header.last = element;
    return element;
}

Long ListCount(const CursorList& list) {
    assert(list.header && "list used before ListCreate");
    Long count = 0;
    // Cannot overflow: 2^31 elements of at least 12 bytes fill a 32-bit address space, and
    // far more memory than any machine of the 64-bit build has.
    for (const ListElement* element = list.header->first; element; element = element->next)
        ++count;
    return count;
}
