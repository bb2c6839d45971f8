// What only the console edition's requesters offer: an entry given on the command line.
#pragma once

// Makes the input requester answer with `entry` (kept, not copied) instead of asking: read
// exactly as a line typed on standard input would be, without the question on standard error.
void ConsoleEntryGiven(const char* entry);
