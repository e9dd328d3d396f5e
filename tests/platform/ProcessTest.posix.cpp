#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/Process.h"
#include "resources/DriverSandbox.h"
#include "resources/ScopedEnvironment.h"
#include "support/StartedDriver.h"

namespace iwv::platform {
namespace {

namespace fs = std::filesystem;
using test::DriverBehaviour;
using test::DriverSandbox;

TEST(PosixProcessTest, EmptyWorkDirectoryIsRefused) {
    DriverSandbox sandbox;
    EXPECT_FALSE(test::StartedDriver("dlookup.exe inwout.txt", ""));
}

TEST(PosixProcessTest, DriverEndedBySignalReportsShellStyleCode) {
    DriverSandbox sandbox(DriverBehaviour{0, 0, true});
    const auto process = test::StartedDriver("dlookup.exe inwout.txt", sandbox.WorkDirectory());
    ASSERT_TRUE(process);
    const auto record = sandbox.AwaitRecord(std::chrono::seconds(20));
    ASSERT_TRUE(record);
    ASSERT_EQ(::kill(static_cast<pid_t>(record->pid), SIGTERM), 0);
    std::uint32_t code = kStillActive;
    for (int i = 0; i < 2000 && code == kStillActive; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        code = process->ExitCode();
    }
    EXPECT_EQ(code, 128u + SIGTERM);
}

// The driver runs in the work directory, so a program found through a
// relative PATH entry must still be found from the parent's directory.
TEST(PosixProcessTest, ProgramOnRelativePathEntryRunsFromTheWorkDirectory) {
    DriverSandbox sandbox;
    const fs::path oldDirectory = fs::current_path();
    fs::current_path(sandbox.Bin().parent_path());
    {
        test::ScopedEnvironment path("PATH", "bin");
        EXPECT_EQ(fs::path(FindProgram("dlookup.exe")), sandbox.Bin() / "dlookup.exe");
        const auto process = test::StartedDriver("dlookup.exe inwout.txt", sandbox.WorkDirectory());
        EXPECT_TRUE(process);
        EXPECT_TRUE(sandbox.AwaitRecord(std::chrono::seconds(20)));
    }
    fs::current_path(oldDirectory);
}

TEST(PosixProcessTest, FindProgramSkipsWhatCannotRun) {
    DriverSandbox sandbox;
    const fs::path first = sandbox.Work() / "first";
    fs::create_directories(first / "dlookup.exe");  // a directory of that name
    test::WriteBytes(first / "232_read.exe", "data");
    fs::permissions(first / "232_read.exe", fs::perms::owner_read | fs::perms::owner_write);
    test::ScopedEnvironment path("PATH", first.string() + ":" + sandbox.Bin().string());
    EXPECT_EQ(fs::path(FindProgram("dlookup.exe")), sandbox.Bin() / "dlookup.exe");
    EXPECT_EQ(fs::path(FindProgram("232_read.exe")), sandbox.Bin() / "232_read.exe");
    EXPECT_EQ(fs::path(FindProgram((sandbox.Bin() / "dlookup.exe").string())), sandbox.Bin() / "dlookup.exe");
    EXPECT_EQ(FindProgram((first / "232_read.exe").string()), "");
}

}  // namespace
}  // namespace iwv::platform
