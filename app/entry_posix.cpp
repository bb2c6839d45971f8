// Process entry of the web edition; the page passes no command line.
#include "app/program.h"

int main() {
    ProgramMain(nullptr);
}
