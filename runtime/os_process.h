// Platform seam: ending the process.
#pragma once

// Ends the process at once with `code` (Win32 ExitProcess); buffered standard output is flushed.
[[noreturn]] void OsProcessExit(unsigned code);
