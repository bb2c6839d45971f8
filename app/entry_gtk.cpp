// Process entry of the desktop edition: a command line of --help and --version alone.
#include "app/command_line.h"
#include "app/program.h"

namespace {

constexpr CommandLineEdition Desktop = {
    "primteiler-gtk",
    "Aufruf: primteiler-gtk\n"
    "Fragt in einem Fenster nach einer ganzen Zahl von 2 bis 2147483647, zerlegt sie\n"
    "in ihre Primfaktoren, findet alle ihre Teiler und zeigt beide Listen mit ihren\n"
    "Rechenzeiten.\n"
    "\n"
    "  -h, --help     diese Hilfe zeigen und beenden\n"
    "      --version  Name und Version zeigen und beenden\n",
    false,
};

} // namespace

int main(int argc, char** argv) {
    CommandLineEntry(argc, argv, Desktop);
    ProgramMain(nullptr);
}
