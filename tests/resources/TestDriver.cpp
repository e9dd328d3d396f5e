// A stand-in for dlookup.exe and 232_read.exe. The command line is fixed by
// the library, so the behaviour comes from the environment, which a started
// driver inherits.

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "TestDriverPlatform.h"

namespace {

unsigned long EnvironmentNumber(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::strtoul(value, nullptr, 10) : 0;
}

// Written under another name and renamed, so that a test that finds the
// record finds all of it.
void WriteRecord(const std::string& commandLine) {
    namespace fs = std::filesystem;
    const fs::path directory = fs::current_path();
    {
        std::ofstream out(directory / "driver-record.tmp", std::ios::binary | std::ios::trunc);
        out << commandLine << '\n' << directory.string() << '\n' << iwv::test::CurrentProcessId() << '\n';
    }
    fs::rename(directory / "driver-record.tmp", directory / "driver-record.txt");
}

}  // namespace

int main(int argc, char** argv) {
    WriteRecord(iwv::test::CommandLineText(argc, argv));
    if (EnvironmentNumber("IWV_TEST_CRASH") != 0) iwv::test::Crash();
    if (EnvironmentNumber("IWV_TEST_HANG") != 0)
        for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(EnvironmentNumber("IWV_TEST_DELAY_MS")));
    return static_cast<int>(EnvironmentNumber("IWV_TEST_EXIT_CODE"));
}
