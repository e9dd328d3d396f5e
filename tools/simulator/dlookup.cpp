// Stand-in for the dock driver that loads the terminal's goods database: reads
// inwout.txt from its current directory and stores it in the simulated
// terminal. No serial port is touched.

#include <cstdio>

#include "DriverArguments.h"
#include "SimulatedTerminal.h"
#include "SimulatorControl.h"

int main(int argc, char** argv) {
    using namespace iwv::simulator;
    std::printf("dlookup.exe: SIMULATION - no real terminal is used\n");
    const std::string problem = CheckDriverArgument(argc, argv, "inwout.txt");
    if (!problem.empty()) {
        std::fprintf(stderr, "dlookup.exe: %s\n", problem.c_str());
        return 2;
    }
    const SimulatorControl control = SimulatorControl::FromEnvironment();
    Stall(control);

    bool found = false;
    const std::vector<std::string> lines = ReadLines("inwout.txt", found);
    if (!found) {
        std::fprintf(stderr, "dlookup.exe: no inwout.txt in the current directory\n");
        return 3;
    }
    const SimulatedTerminal terminal(control.terminalDirectory);
    const std::string error = terminal.LoadGoods(lines);
    if (!error.empty()) {
        std::fprintf(stderr, "dlookup.exe: %s\n", error.c_str());
        return 4;
    }
    std::printf("dlookup.exe: %zu goods loaded into the terminal (%s)\n", lines.size(), terminal.Directory().c_str());
    return control.exitCode;
}
