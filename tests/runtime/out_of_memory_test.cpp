// Every allocation that must succeed ends the process when the heap refuses it, before
// anything is written through the missing block.
#include "death_test.h"
#include "fakes/fake_heap.h"
#include "support/runtime_fixture.h"

namespace {

class OutOfMemoryTest : public RuntimeTest {
  protected:
    void TearDown() override {
        FakeHeapFailAt(0);
        RuntimeTest::TearDown();
    }
};

TEST_F(OutOfMemoryTest, RefusedAllocationEndsTheProcessWithCode3) {
    struct Case {
        const char* name;
        void (*run)();
    };
    // clang-format off
    const Case cases[] = {
        {"list header",      [] { CursorList list{}; FakeHeapFailAt(1); ListCreate(list, sizeof(Long)); }},
        {"list element",     [] { CursorList list{}; ListCreate(list, sizeof(Long)); FakeHeapFailAt(1); ListAdd(list); }},
        {"string assign",    [] { StringVariable v{}; FakeHeapFailAt(1); StringAssign(v, "12"); }},
        {"string commit",    [] { StringVariable v{}; char* s = WorkspacePosition(); WorkspaceAppend("12"); FakeHeapFailAt(1); WorkspaceCommit(v, s); }},
        {"workspace",        [] { FakeHeapFailAt(1); WorkspaceStart(); }},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EXIT_CODE(c.run(), 3, "primteiler: out of memory");
    }
}

} // namespace
