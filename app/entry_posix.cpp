// Process entry of the console edition.
#include "app/program.h"

int main() {
    ProgramMain(nullptr);
}
