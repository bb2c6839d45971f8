// Process entry of the console and web editions.
#include "app/program.h"

int main() {
    ProgramMain(nullptr);
}
