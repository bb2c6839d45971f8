// The report's lines and the report text.
#include "app/report.h"

void ReportLine(StringVariable& line, CursorList& list) {
    StringAssign(line, "1");
    ListReset(list);
    while (ListElement* element = ListNext(list)) {
        char* start = WorkspacePosition();
        WorkspaceAppend(line);
        WorkspaceAppend(", ");
        LongToText(ListLong(element));
        WorkspaceCommit(line, start);
    }
}

char* ReportCompose(Long factorMs, const StringVariable& factorText, Long divisorMs,
                    const StringVariable& divisorText, const StringVariable& lineBreak) {
    char* start = WorkspacePosition();
    WorkspaceAppend("Primfaktoren (");
    LongToText(factorMs);
    WorkspaceAppend(" ms)");
    WorkspaceAppend(lineBreak);
    WorkspaceAppend(factorText);
    WorkspaceAppend(lineBreak);
    WorkspaceAppend(lineBreak);
    WorkspaceAppend("Teiler (");
    LongToText(divisorMs);
    WorkspaceAppend(" ms)");
    WorkspaceAppend(lineBreak);
    WorkspaceAppend(divisorText);
    return start;
}
