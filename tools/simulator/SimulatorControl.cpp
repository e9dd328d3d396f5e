#include "SimulatorControl.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace iwv::simulator {
namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

long Number(const char* name) { return std::strtol(Variable(name).c_str(), nullptr, 10); }

}  // namespace

SimulatorControl SimulatorControl::FromEnvironment() {
    SimulatorControl control;
    control.hang = Variable("IWV_SIMULATOR_HANG") == "1";
    control.delayMs = static_cast<unsigned>(Number("IWV_SIMULATOR_DELAY_MS") > 0 ? Number("IWV_SIMULATOR_DELAY_MS") : 0);
    control.exitCode = static_cast<int>(Number("IWV_SIMULATOR_EXIT_CODE"));
    control.noData = Variable("IWV_SIMULATOR_NO_DATA") == "1";
    control.terminalDirectory = Variable("IWV_TERMINAL_DIR");
    if (control.terminalDirectory.empty()) control.terminalDirectory = ProgramDirectory() + "/terminal";
    return control;
}

void Stall(const SimulatorControl& control) {
    if (control.delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(control.delayMs));
    while (control.hang) std::this_thread::sleep_for(std::chrono::seconds(1));
}

}  // namespace iwv::simulator
