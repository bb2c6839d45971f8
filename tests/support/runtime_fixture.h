// A started runtime (heap and workspace) for each test, destroyed after it.
#pragma once

#include "runtime/heap.h"
#include "runtime/lists.h"
#include "runtime/strings.h"

#include <gtest/gtest.h>

#include <vector>

class RuntimeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RuntimeHeapStart();
        WorkspaceStart();
    }
    void TearDown() override { RuntimeHeapEnd(); }
};

// The Long values of `list` from first to last, read along the links (the cursor is untouched).
inline std::vector<Long> ListValues(const CursorList& list) {
    std::vector<Long> values;
    for (ListElement* element = list.header->first; element; element = element->next)
        values.push_back(ListLong(element));
    return values;
}

// A fresh list of Long values holding `values` in order.
inline CursorList ListOf(const std::vector<Long>& values) {
    CursorList list{};
    ListCreate(list, sizeof(Long));
    for (Long value : values)
        ListLong(ListAdd(list)) = value;
    return list;
}
