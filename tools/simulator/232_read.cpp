// Stand-in for the dock driver that reads the terminal's count: writes the
// counts recorded on the simulated terminal into inwin.txt in its current
// directory. No serial port is touched.

#include <cstdio>

#include "DriverArguments.h"
#include "SimulatedTerminal.h"
#include "SimulatorControl.h"

int main(int argc, char** argv) {
    using namespace iwv::simulator;
    std::printf("232_read.exe: SIMULATION - no real terminal is used\n");
    const std::string problem = CheckDriverArgument(argc, argv, "inwin.txt");
    if (!problem.empty()) {
        std::fprintf(stderr, "232_read.exe: %s\n", problem.c_str());
        return 2;
    }
    const SimulatorControl control = SimulatorControl::FromEnvironment();
    Stall(control);
    if (control.noData) {
        std::printf("232_read.exe: the terminal sent nothing\n");
        return control.exitCode;
    }
    const SimulatedTerminal terminal(control.terminalDirectory);
    const std::vector<std::string> counts = terminal.Counts();
    if (!WriteLines("inwin.txt", counts)) {
        std::fprintf(stderr, "232_read.exe: cannot write inwin.txt\n");
        return 3;
    }
    std::printf("232_read.exe: %zu counts read from the terminal\n", counts.size());
    return control.exitCode;
}
