// Prime factorization by restarted trial division.
#include "arith/factors.h"

#include "runtime/ticks.h"

Long FindPrimeFactors(CursorList& factorList, Long n) {
    const ULong start = TickCount();
    Long m = n; // what remains to be factored
    do {
        Long candidate = 2;
        const ListElement* found = nullptr;
        do {
            if (WrapRem(m, candidate) == 0) {
                ListElement* factor = ListAdd(factorList);
                ListLong(factor) = candidate;
                found = factor;
                m = WrapDiv(m, candidate);
            }
            // Wraps past INT32_MAX for inputs below 2; -1 is reached before 0.
            candidate = WrapAdd(candidate, 1);
        } while (!found);
    } while (m != 1);
    return TickElapsed(start);
}
