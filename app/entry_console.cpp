// Process entry of the console edition: the entry comes from the command line or, without one,
// from standard input.
#include "app/command_line.h"
#include "app/program.h"
#include "ui/requesters_console.h"

namespace {

constexpr CommandLineEdition Console = {
    "primteiler",
    "Aufruf: primteiler [ZAHL]\n"
    "Zerlegt eine ganze Zahl von 2 bis 2147483647 in ihre Primfaktoren, findet alle\n"
    "ihre Teiler und schreibt beide Listen mit ihren Rechenzeiten.\n"
    "Ohne ZAHL fragt primteiler danach und liest eine Zeile von der Standardeingabe.\n"
    "\n"
    "  -h, --help     diese Hilfe zeigen und beenden\n"
    "      --version  Name und Version zeigen und beenden\n"
    "\n"
    "Exit-Status: 0, wenn die Liste, die Fehlermeldung oder nichts (leere Eingabe)\n"
    "geschrieben ist; 1 bei einem Lese- oder Schreibfehler; 2 bei falschem Aufruf;\n"
    "3 bei zu wenig Speicher.\n",
    true,
};

} // namespace

int main(int argc, char** argv) {
    if (const char* entry = CommandLineEntry(argc, argv, Console)) ConsoleEntryGiven(entry);
    ProgramMain(nullptr);
}
