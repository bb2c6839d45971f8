// Fuzz target: an entered text through ProgramRun (scripted requesters, the real runtime) to the
// note it shows. Which note appears is decided by a model of the entry rules; a report is
// checked against a factorization and a divisor count of our own.
#include "app/program.h"
#include "fakes/fake_requesters.h"
#include "fuzz/entry_model.h"
#include "fuzz/fuzz_check.h"
#include "runtime/heap.h"
#include "runtime/strings.h"
#include "support/worked_examples.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

// Inputs above these bounds are skipped: their trial divisions or divisor products take too
// long for a fuzzing pace.
constexpr long long MaxTrialDivisions = 2000000;
constexpr std::size_t MaxFactorOccurrences = 16;

struct Entry {
    Shows shows;
    long long number; // for a report
};

// What the program must make of `answer`: the requester keeps its first EntryLimit bytes, the
// program reads them up to a NUL. Nothing for an empty text; the error for digits above
// 2147483647 or a value below 2; else a report.
Entry ModelEntry(const std::string& answer) {
    const std::string text = answer.substr(0, EntryLimit).c_str();
    if (text.empty()) return {Shows::Nothing, 0};
    const Reading reading = ModelRead(text.c_str());
    const Long value = ModelValue(reading);
    if (!ModelFits(reading) || value < 2) return {Shows::Error, 0};
    return {Shows::Report, value};
}

// Prime factors of `n` (2 or more), smallest first, by a square-root bounded search.
std::vector<long long> Factorize(long long n) {
    std::vector<long long> factors;
    for (long long d = 2; d * d <= n; ++d) {
        for (; n % d == 0; n /= d)
            factors.push_back(d);
    }
    if (n > 1) factors.push_back(n);
    return factors;
}

// Divisors of `n`, 1 and `n` included, counted in pairs up to the square root.
long long CountDivisors(long long n) {
    long long count = 0;
    for (long long d = 1; d * d <= n; ++d) {
        if (n % d == 0) count += d * d == n ? 1 : 2;
    }
    return count;
}

// "<prefix><digits> ms)"
bool IsHeading(const std::string& line, const std::string& prefix) {
    if (line.size() <= prefix.size() + 4 || line.compare(0, prefix.size(), prefix) != 0)
        return false;
    if (line.compare(line.size() - 4, 4, " ms)") != 0) return false;
    for (std::size_t i = prefix.size(); i < line.size() - 4; ++i)
        if (line[i] < '0' || line[i] > '9') return false;
    return true;
}

// The values of a list line "1, a, b, ...": positive decimals without leading zeros joined by
// ", ". False for any other shape.
bool ParseLine(const std::string& line, std::vector<long long>& values) {
    std::size_t at = 0;
    for (;;) {
        const std::size_t begin = at;
        while (at < line.size() && line[at] >= '0' && line[at] <= '9' && at - begin < 12)
            ++at;
        if (at == begin || line[begin] == '0') return false;
        values.push_back(std::stoll(line.substr(begin, at - begin)));
        if (at == line.size()) return true;
        if (line.compare(at, 2, ", ") != 0) return false;
        at += 2;
    }
}

void CheckReport(const std::string& report, long long number) {
    std::vector<std::string> lines;
    for (std::size_t from = 0;;) {
        const std::size_t end = report.find("\r\n", from);
        lines.push_back(report.substr(from, end == std::string::npos ? end : end - from));
        if (end == std::string::npos) break;
        from = end + 2;
    }
    FuzzCheck(lines.size() == 5, "five lines, no break after the last");
    for (const std::string& line : lines)
        FuzzCheck(line.find_first_of("\r\n") == std::string::npos, "no stray CR or LF");
    FuzzCheck(IsHeading(lines[0], "Primfaktoren ("), "the factor heading");
    FuzzCheck(lines[2].empty(), "an empty line between the groups");
    FuzzCheck(IsHeading(lines[3], "Teiler ("), "the divisor heading");

    std::vector<long long> factors;
    FuzzCheck(ParseLine(lines[1], factors), "the factor line's shape");
    FuzzCheck(factors.front() == 1, "the factor line starts with 1");
    factors.erase(factors.begin());
    long long product = 1;
    for (const long long factor : factors)
        product *= factor; // at most 31 factors of a number below 2^31: no overflow
    FuzzCheck(product == number, "the factors multiply to the number");
    FuzzCheck(factors == Factorize(number), "the prime factors, smallest first");

    std::vector<long long> divisors;
    FuzzCheck(ParseLine(lines[4], divisors), "the divisor line's shape");
    FuzzCheck(divisors.front() == 1, "the divisor line starts with 1");
    const std::set<long long> distinct(divisors.begin(), divisors.end());
    FuzzCheck(distinct.size() == divisors.size(), "no divisor twice");
    for (const long long divisor : divisors)
        FuzzCheck(number % divisor == 0, "every divisor divides the number");
    FuzzCheck(static_cast<long long>(divisors.size()) == CountDivisors(number),
              "every divisor is there");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string answer(reinterpret_cast<const char*>(data), size);
    const Entry entry = ModelEntry(answer);
    if (entry.shows == Shows::Report) {
        const std::vector<long long> factors = Factorize(entry.number);
        long long divisions = 0;
        for (const long long factor : factors)
            divisions += factor - 1;
        if (divisions > MaxTrialDivisions || factors.size() > MaxFactorOccurrences) return -1;
    }

    FakeRequesterScript(answer);
    ProgramRun(nullptr);
    FuzzCheck(FakeRequesterInputs().size() == 1, "one input requester");
    const auto& notes = FakeRequesterNotes();
    switch (entry.shows) {
    case Shows::Nothing:
        FuzzCheck(notes.empty(), "nothing shown for an empty entry");
        break;
    case Shows::Error:
        FuzzCheck(notes.size() == 1 && notes[0].caption == ErrorCaption &&
                      notes[0].text == ErrorText && notes[0].flags == 0,
                  "the error box");
        break;
    case Shows::Report:
        FuzzCheck(notes.size() == 1 && notes[0].caption == ReportCaption && notes[0].flags == 0,
                  "one report box");
        CheckReport(notes[0].text, entry.number);
        break;
    }
    FuzzCheck(WorkspacePosition() == WorkspaceBase(), "the workspace is given back");
    RuntimeHeapEnd();
    return 0;
}
