// Cursor lists: scripted operations, with every list invariant checked after each step.
#include "support/runtime_fixture.h"

#include <string>

namespace {

using Values = std::vector<Long>;

// Checks the links and the cursor of `list` against `values` and the cursor's index (-1: none).
void ExpectList(const CursorList& list, const Values& values, int cursor) {
    const ListHeader& header = *list.header;
    ASSERT_EQ(header.first == nullptr, header.last == nullptr) << "first and last disagree";
    if (header.first) {
        EXPECT_EQ(header.first->previous, nullptr);
        EXPECT_EQ(header.last->next, nullptr);
    }
    EXPECT_EQ(ListValues(list), values) << "forward walk";
    Values backward;
    for (ListElement* element = header.last; element; element = element->previous)
        backward.insert(backward.begin(), ListLong(element));
    EXPECT_EQ(backward, values) << "backward walk";
    for (ListElement* element = header.first; element && element->next; element = element->next)
        EXPECT_EQ(element->next->previous, element) << "broken back link";
    EXPECT_EQ(ListCount(list), static_cast<Long>(values.size()));

    int index = -1, at = 0;
    for (ListElement* element = header.first; element; element = element->next, ++at)
        if (element == list.cursor) index = at;
    if (list.cursor) {
        EXPECT_NE(index, -1) << "cursor points outside the list";
    }
    EXPECT_EQ(index, cursor) << "cursor position";
}

// One operation of a script: "+v" ListAdd storing v, "r" ListReset, "n" ListNext, "l" ListLast.
struct Step {
    std::string op;
    Values after; // values after the step
    int cursor;   // cursor index after the step, -1 for none
    int returned; // "n": index of the element returned, -1 for null
};

struct Script {
    const char* name;
    std::vector<Step> steps;
};

// clang-format off
const Script Scripts[] = {
    {"next on an empty list returns null, cursor stays none",
     {{"n", {}, -1, -1}, {"n", {}, -1, -1}}},
    {"last on an empty list leaves no cursor",
     {{"l", {}, -1, 0}}},
    {"add on an empty list: first, last and cursor",
     {{"+5", {5}, 0, 0}}},
    {"one element: next returns it, then null with the cursor kept",
     {{"+5", {5}, 0, 0}, {"r", {5}, -1, 0}, {"n", {5}, 0, 0}, {"n", {5}, 0, -1}, {"n", {5}, 0, -1}}},
    {"a run of adds appends",
     {{"+1", {1}, 0, 0}, {"+2", {1, 2}, 1, 0}, {"+3", {1, 2, 3}, 2, 0}}},
    {"add with no cursor goes to the head",
     {{"+1", {1}, 0, 0}, {"+2", {1, 2}, 1, 0}, {"r", {1, 2}, -1, 0}, {"+9", {9, 1, 2}, 0, 0}}},
    {"add on a middle element inserts before its successor",
     {{"+1", {1}, 0, 0}, {"+2", {1, 2}, 1, 0}, {"+3", {1, 2, 3}, 2, 0}, {"r", {1, 2, 3}, -1, 0},
      {"n", {1, 2, 3}, 0, 0}, {"n", {1, 2, 3}, 1, 1}, {"+7", {1, 2, 7, 3}, 2, 0},
      {"+8", {1, 2, 7, 8, 3}, 3, 0}}},
    {"add on the first element of two",
     {{"+1", {1}, 0, 0}, {"+2", {1, 2}, 1, 0}, {"r", {1, 2}, -1, 0}, {"n", {1, 2}, 0, 0},
      {"+5", {1, 5, 2}, 1, 0}}},
    {"last then add on an empty list is add with no cursor",
     {{"l", {}, -1, 0}, {"+4", {4}, 0, 0}}},
    {"last then add appends after a walk moved the cursor back",
     {{"+1", {1}, 0, 0}, {"+2", {1, 2}, 1, 0}, {"r", {1, 2}, -1, 0}, {"n", {1, 2}, 0, 0},
      {"l", {1, 2}, 1, 0}, {"+3", {1, 2, 3}, 2, 0}}},
    {"a full walk ends on the last element",
     {{"+1", {1}, 0, 0}, {"+2", {1, 2}, 1, 0}, {"+3", {1, 2, 3}, 2, 0}, {"r", {1, 2, 3}, -1, 0},
      {"n", {1, 2, 3}, 0, 0}, {"n", {1, 2, 3}, 1, 1}, {"n", {1, 2, 3}, 2, 2},
      {"n", {1, 2, 3}, 2, -1}}},
};
// clang-format on

class ListScriptTest : public RuntimeTest {};

TEST_F(ListScriptTest, EveryStepKeepsTheInvariants) {
    for (const Script& script : Scripts) {
        SCOPED_TRACE(script.name);
        CursorList list{};
        ListCreate(list, sizeof(Long));
        ExpectList(list, {}, -1);
        for (const Step& step : script.steps) {
            SCOPED_TRACE("step " + step.op);
            switch (step.op[0]) {
            case '+': {
                ListElement* added = ListAdd(list);
                EXPECT_EQ(ListLong(added), 0) << "new element not zero-filled";
                EXPECT_EQ(added, list.cursor) << "new element not current";
                ListLong(added) = std::stoi(step.op.substr(1));
                break;
            }
            case 'r':
                ListReset(list);
                break;
            case 'n': {
                ListElement* next = ListNext(list);
                ListElement* expected = nullptr;
                if (step.returned >= 0) {
                    expected = list.header->first;
                    for (int i = 0; i < step.returned; ++i)
                        expected = expected->next;
                }
                EXPECT_EQ(next, expected) << "ListNext result";
                break;
            }
            case 'l':
                ListLast(list);
                break;
            }
            ExpectList(list, step.after, step.cursor);
        }
    }
}

TEST_F(ListScriptTest, CreateSizesElementsAndLeavesTheCursor) {
    for (std::size_t valueSize : {std::size_t{4}, std::size_t{8}, std::size_t{12}}) {
        SCOPED_TRACE(valueSize);
        CursorList list{};
        ListElement dummy{};
        list.cursor = &dummy; // ListCreate must not touch it
        ListCreate(list, valueSize);
        EXPECT_EQ(list.header->elementSize, 2 * sizeof(void*) + valueSize);
        EXPECT_EQ(list.header->first, nullptr);
        EXPECT_EQ(list.header->last, nullptr);
        EXPECT_EQ(list.cursor, &dummy);
    }
}

TEST_F(ListScriptTest, WideValuesAreZeroFilledAndKeptApart) {
    struct Wide {
        Long words[3];
    };
    CursorList list{};
    ListCreate(list, sizeof(Wide));
    for (Long i = 0; i < 3; ++i) {
        auto* value = reinterpret_cast<Wide*>(ListAdd(list) + 1);
        for (Long word : value->words)
            EXPECT_EQ(word, 0);
        value->words[0] = value->words[1] = value->words[2] = i;
    }
    Long i = 0;
    ListReset(list);
    while (ListElement* element = ListNext(list)) {
        auto* value = reinterpret_cast<Wide*>(element + 1);
        EXPECT_EQ(value->words[2], i++);
    }
    EXPECT_EQ(i, 3);
}

} // namespace
