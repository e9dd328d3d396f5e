#pragma once

#include <string>

namespace iwv::simulator {

// How a test or a demo wants the simulated driver to behave, read from the
// environment, which a driver inherits from its host:
//   IWV_SIMULATOR_HANG=1        never end (until killed)
//   IWV_SIMULATOR_DELAY_MS=n    take n ms before doing the work
//   IWV_SIMULATOR_EXIT_CODE=n   end with exit code n after the work
//   IWV_SIMULATOR_NO_DATA=1     232_read leaves no inwin.txt behind
//   IWV_TERMINAL_DIR=path       the simulated terminal's folder
struct SimulatorControl {
    bool hang = false;
    unsigned delayMs = 0;
    int exitCode = 0;
    bool noData = false;
    std::string terminalDirectory;

    // Reads the environment; the terminal folder defaults to "terminal"
    // beside the simulator programs.
    static SimulatorControl FromEnvironment();
};

// Waits as the control asks (delay, or forever).
void Stall(const SimulatorControl& control);

// The folder that holds the running program.
std::string ProgramDirectory();

}  // namespace iwv::simulator
