// ProgramMain: from start-up through input, the two timed computations and the report to the
// end of the process.
#include "app/input.h"
#include "app/program.h"
#include "app/report.h"
#include "arith/divisors.h"
#include "arith/factors.h"
#include "runtime/heap.h"
#include "runtime/lists.h"
#include "runtime/strings.h"
#include "ui/requesters.h"

namespace {

// The program's variables; ProgramMain clears them all before anything else.
struct ProgramVariables {
    void* instance; // the module's instance handle, for the input dialog's window class
    Long number;    // the value entered
    CursorList factorList;
    CursorList divisorList;
    FactorSlot* factorSlots; // record array of FindDivisors, kept until the heap goes
    Long factorMs;
    Long divisorMs;
    StringVariable factorText;
    StringVariable divisorText;
    StringVariable lineBreak;
};

ProgramVariables program;

} // namespace

void ProgramRun(void* instance) {
    program = ProgramVariables{};
    program.instance = instance;
    RequesterStart(program.instance);

    RuntimeHeapStart();
    WorkspaceStart();

    char* start = WorkspacePosition();
    const char* entered =
        InputRequester("Primfaktoren / Teiler suchen...", "Bitte Zahl eingeben:", "");
    WorkspaceProtect();
    program.number = TextToLong(entered);
    // An empty text (nothing typed, or the input cancelled) means the user wants out.
    const bool empty = *entered == '\0';
    // The factorization is defined from 2 up, and digits beyond 2^31 - 1 would be taken modulo
    // 2^32 and report the factors of another number.
    const bool invalid = program.number < 2 || !InputDigitsFit(entered);
    WorkspaceRewind(start);
    if (empty) return;
    if (invalid) {
        NoteRequester("ERROR", "Falscher Zahlenwert", 0);
        return;
    }

    ListCreate(program.factorList, sizeof(Long));
    program.factorMs = FindPrimeFactors(program.factorList, program.number);
    ListCreate(program.divisorList, sizeof(Long));
    program.divisorMs = FindDivisors(program.factorList, program.divisorList, program.factorSlots);

    ReportLine(program.factorText, program.factorList);
    ReportLine(program.divisorText, program.divisorList);
    StringAssign(program.lineBreak, "\r\n");

    start = WorkspacePosition();
    const char* report = ReportCompose(program.factorMs, program.factorText, program.divisorMs,
                                       program.divisorText, program.lineBreak);
    WorkspaceProtect();
    NoteRequester("Primfaktoren / Teiler", report, 0);
    WorkspaceRewind(start);
}

void ProgramMain(void* instance) {
    ProgramRun(instance);
    RuntimeEnd(0);
}
