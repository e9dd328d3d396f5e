#include "resources/DriverSandbox.h"

#include <sstream>
#include <stdexcept>
#include <thread>

namespace iwv::test {
namespace {

namespace fs = std::filesystem;

// The separator of PATH lists is the one of the platform's own paths.
std::string PathListSeparator() { return fs::path::preferred_separator == '\\' ? ";" : ":"; }

std::string PathWithInFront(const fs::path& directory) {
    const std::optional<std::string> old = ScopedEnvironment::Get("PATH");
    return old ? directory.string() + PathListSeparator() + *old : directory.string();
}

fs::path MakeBin(const TempDir& root) {
    const fs::path bin = root.Path() / "bin";
    fs::create_directory(bin);
    fs::create_directory(root.Path() / "work");
    for (const char* name : {"dlookup.exe", "232_read.exe"}) fs::copy_file(IWV_TEST_DRIVER_PATH, bin / name);
    return bin;
}

}  // namespace

DriverSandbox::DriverSandbox(const DriverBehaviour& behaviour)
    : path_("PATH", PathWithInFront(MakeBin(root_))),
      exitCode_("IWV_TEST_EXIT_CODE", "0"),
      delay_("IWV_TEST_DELAY_MS", "0"),
      hang_("IWV_TEST_HANG", "0"),
      crash_("IWV_TEST_CRASH", "0") {
    SetBehaviour(behaviour);
}

void DriverSandbox::SetBehaviour(const DriverBehaviour& behaviour) {
    exitCode_.Set(std::to_string(behaviour.exitCode));
    delay_.Set(std::to_string(behaviour.delayMilliseconds));
    hang_.Set(behaviour.hang ? "1" : "0");
    crash_.Set(behaviour.crash ? "1" : "0");
}

std::optional<DriverRecord> DriverSandbox::Record() const {
    const fs::path file = Work() / "driver-record.txt";
    if (!fs::exists(file)) return std::nullopt;
    std::istringstream lines(ReadBytes(file));
    DriverRecord record;
    std::string pid;
    std::getline(lines, record.commandLine);
    std::getline(lines, record.directory);
    std::getline(lines, pid);
    record.pid = std::stoul(pid);
    return record;
}

std::optional<DriverRecord> DriverSandbox::AwaitRecord(std::chrono::milliseconds limit) const {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        // Under a loaded Wine a record the driver has just renamed into place
        // can refuse to open for a moment: it is tried again, not failed.
        try {
            if (auto record = Record()) return record;
        } catch (const std::runtime_error&) {
        }
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace iwv::test
