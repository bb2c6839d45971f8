// Ending the process on POSIX systems.
#include "runtime/os_process.h"

#include <cstdlib>

void OsProcessExit(unsigned code) {
    std::exit(static_cast<int>(code));
}
