// The report: the two list lines and the five-line text shown at the end.
#pragma once

#include "runtime/lists.h"
#include "runtime/strings.h"
#include "runtime/types.h"

// Sets `line` to "1", then ", " and the decimal text of each value of `list` (Long values) in
// list order, rebuilding the variable at every value. Leaves the list's cursor on its last
// element and the workspace position where it was.
void ReportLine(StringVariable& line, CursorList& list);

// Writes the report at the workspace position: the factor heading with its time, the factor
// line, an empty line, the divisor heading with its time and the divisor line, joined by
// `lineBreak` (no break after the last line). Returns where it begins; the position stands on
// its NUL, and the caller protects or commits it.
char* ReportCompose(Long factorMs, const StringVariable& factorText, Long divisorMs,
                    const StringVariable& divisorText, const StringVariable& lineBreak);
