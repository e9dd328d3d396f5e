#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "platform/Process.h"
#include "resources/DriverSandbox.h"
#include "resources/ProcessProbe.h"
#include "support/StartedDriver.h"

namespace iwv::platform {
namespace {

using test::DriverBehaviour;
using test::DriverSandbox;

constexpr std::chrono::seconds kPatience{20};

// The exit code once the process has ended; kStillActive if it does not end
// in time.
std::uint32_t AwaitExit(DriverProcess& process) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    std::uint32_t code = process.ExitCode();
    while (code == kStillActive && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        code = process.ExitCode();
    }
    return code;
}

unsigned long RecordedPid(const DriverSandbox& sandbox) {
    const auto record = sandbox.AwaitRecord(kPatience);
    return record ? record->pid : 0;
}

TEST(ProcessTest, ReportsTheDriversExitCodeOnceEnded) {
    DriverSandbox sandbox;
    for (const std::uint32_t exitCode : {0u, 1u, 7u, 255u}) {
        sandbox.SetBehaviour(DriverBehaviour{exitCode, 0, false});
        const auto process = test::StartedDriver("dlookup.exe inwout.txt", sandbox.WorkDirectory());
        ASSERT_TRUE(process);
        EXPECT_EQ(AwaitExit(*process), exitCode);
        // Read again, the code stays.
        EXPECT_EQ(process->ExitCode(), exitCode);
    }
}

TEST(ProcessTest, EndedDriverLeavesNoProcessBehind) {
    DriverSandbox sandbox;
    const auto process = test::StartedDriver("232_read.exe inwin.txt", sandbox.WorkDirectory());
    ASSERT_TRUE(process);
    const unsigned long pid = RecordedPid(sandbox);
    ASSERT_NE(pid, 0u);
    ASSERT_NE(AwaitExit(*process), kStillActive);
    EXPECT_TRUE(test::ProcessGone(pid));
}

TEST(ProcessTest, KillEndsARunningDriver) {
    DriverSandbox sandbox(DriverBehaviour{0, 0, true});
    const auto process = test::StartedDriver("dlookup.exe inwout.txt", sandbox.WorkDirectory());
    ASSERT_TRUE(process);
    const unsigned long pid = RecordedPid(sandbox);
    ASSERT_NE(pid, 0u);
    EXPECT_EQ(process->ExitCode(), kStillActive);
    process->Kill();
    EXPECT_NE(process->ExitCode(), kStillActive);
    EXPECT_TRUE(test::ProcessGone(pid));
    process->Kill();  // a second kill of an ended driver does no harm
}

TEST(ProcessTest, DroppingARunningDriverKillsIt) {
    DriverSandbox sandbox(DriverBehaviour{0, 0, true});
    auto process = test::StartedDriver("dlookup.exe inwout.txt", sandbox.WorkDirectory());
    ASSERT_TRUE(process);
    const unsigned long pid = RecordedPid(sandbox);
    ASSERT_NE(pid, 0u);
    process.reset();
    EXPECT_TRUE(test::ProcessGone(pid));
}

TEST(ProcessTest, RefusesWhatCannotBeStarted) {
    DriverSandbox sandbox;
    test::WriteBytes(sandbox.Bin() / "broken.exe", "not a program\r\n");
    std::filesystem::permissions(sandbox.Bin() / "broken.exe", std::filesystem::perms::owner_all);
    std::unique_ptr<DriverProcess> process;
    // The system's own error says why: no such program, no such folder.
    EXPECT_TRUE(DriverProcess::Start("iwv_no_such_driver.exe inwout.txt", sandbox.WorkDirectory(), process)
                    .Is(SystemError::Kind::NotFound));
    EXPECT_TRUE(DriverProcess::Start("broken.exe inwout.txt", sandbox.WorkDirectory(), process));
    EXPECT_NE(DriverProcess::Start("dlookup.exe inwout.txt", (sandbox.Work() / "missing").string(), process).code, 0u);
    EXPECT_TRUE(DriverProcess::Start("", sandbox.WorkDirectory(), process));
    EXPECT_FALSE(process);
    EXPECT_FALSE(sandbox.Record());
}

TEST(ProcessTest, FindProgramSearchesThePath) {
    DriverSandbox sandbox;
    const std::string found = FindProgram("dlookup.exe");
    ASSERT_FALSE(found.empty());
    EXPECT_TRUE(std::filesystem::equivalent(found, sandbox.Bin() / "dlookup.exe")) << found;
    EXPECT_EQ(FindProgram("iwv_no_such_driver.exe"), "");
    EXPECT_EQ(FindProgram(""), "");
}

}  // namespace
}  // namespace iwv::platform
