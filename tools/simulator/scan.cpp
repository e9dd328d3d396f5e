// The person at the simulated terminal: scans goods and keys in quantities,
// as one would on the real terminal after its goods database was loaded.

#include <cstdio>
#include <string>

#include "SimulatedTerminal.h"
#include "SimulatorControl.h"

namespace {

const char kUsage[] =
    "usage: scan CODE [QUANTITY]   record a count (quantity as the terminal shows it, e.g. 12 or 1.5)\n"
    "       scan --list            show the recorded counts\n"
    "       scan --clear           forget every count\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace iwv::simulator;
    const SimulatedTerminal terminal(SimulatorControl::FromEnvironment().terminalDirectory);
    const std::string first = argc > 1 ? argv[1] : "";
    if (argc == 2 && first == "--list") {
        for (const std::string& count : terminal.Counts()) std::printf("%s\n", count.c_str());
        return 0;
    }
    if (argc == 2 && first == "--clear") {
        terminal.ClearCounts();
        return 0;
    }
    if (argc < 2 || argc > 3 || first.empty() || first[0] == '-') {
        std::fputs(kUsage, argc == 2 && first == "--help" ? stdout : stderr);
        return argc == 2 && first == "--help" ? 0 : 2;
    }
    const std::string quantity = argc == 3 ? argv[2] : "1";
    const std::string error = terminal.RecordCount(first, quantity);
    if (!error.empty()) {
        std::fprintf(stderr, "scan: %s\n", error.c_str());
        return 1;
    }
    std::printf("scanned %s, quantity %s\n", first.c_str(), quantity.c_str());
    return 0;
}
