// Reference loops over plain arrays. A translation unit of their own, as FindPrimeFactors and
// FindDivisors are: the benchmark loop calls both kinds the same way, without inlining.
#include "bench/bare_methods.h"

Long BareTrialDivision(Long n, Long* factors) {
    Long count = 0;
    Long m = n;
    do {
        Long candidate = 2;
        for (;;) {
            if (m % candidate == 0) { // n >= 2: the candidate never reaches -1
                factors[count++] = candidate;
                m /= candidate;
                break;
            }
            ++candidate;
        }
    } while (m != 1);
    return count;
}

Long BareDivisors(const Long* factors, Long count, Long* use, Long* divisors) {
    for (Long j = 0; j < count; ++j)
        use[j] = 0;
    const Long top = count - 1;
    Long found = 0;
    bool finished = false;
    do {
        ++use[0];
        for (Long j = 0; j < count; ++j) {
            if (use[j] != 2) continue;
            if (j == top) {
                finished = true;
            } else {
                use[j] = 0;
                ++use[j + 1];
            }
        }
        if (finished) break;

        Long product = 1;
        for (Long j = 0; j < count; ++j)
            if (use[j] != 0) product = WrapMul(product, factors[j]);

        bool isNew = true;
        for (Long k = 0; k < found && isNew; ++k)
            if (divisors[k] == product) isNew = false;
        if (isNew) divisors[found++] = product;
    } while (!finished);
    return found;
}
