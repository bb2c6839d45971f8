// Divisor enumeration by base-two counting over the factor occurrences.
#include "arith/divisors.h"

#include "runtime/arrays.h"
#include "runtime/heap.h"
#include "runtime/ticks.h"

Long FindDivisors(CursorList& factorList, CursorList& divisorList, FactorSlot*& factorSlots) {
    const ULong start = TickCount();
    const Long count = ListCount(factorList);
    if (count == 0) return 0;

    ArrayDim(factorSlots, static_cast<ULong>(count), FactorSlotTag);
    if (!factorSlots) RuntimeOutOfMemory();
    FactorSlot* const slots = factorSlots;
    ListReset(factorList);
    Long i = 0;
    while (ListElement* element = ListNext(factorList))
        slots[i++].factor = ListLong(element);

    const Long top = count - 1;
    bool finished = false;
    do {
        ++slots[0].use;
        for (Long j = 0; j < count; ++j) { // carry pass, ascending
            if (slots[j].use != 2) continue;
            if (j == top) {
                finished = true; // the counter would reach 2^count
            } else {
                slots[j].use = 0;
                ++slots[j + 1].use;
            }
        }
        if (finished) break;

        Long product = 1;
        for (Long j = 0; j < count; ++j)
            if (slots[j].use != 0) product = WrapMul(product, slots[j].factor);

        // The search walks a copy of the list variable and hands its cursor back afterwards:
        // through the reference GCC stores and reloads the cursor at every step, which put a
        // store-to-load round trip on the chain of `next` loads and cost about 15% here.
        bool isNew = true;
        CursorList walk = divisorList;
        ListReset(walk);
        while (ListElement* element = ListNext(walk)) {
            if (!isNew) break;
            if (ListLong(element) == product) isNew = false;
        }
        divisorList.cursor = walk.cursor;
        if (isNew) {
            ListLast(divisorList);
            ListLong(ListAdd(divisorList)) = product;
        }
    } while (!finished);
    return TickElapsed(start);
}
