#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "common/Error.h"
#include "driver/DriverRunner.h"
#include "driver/FakeHost.h"
#include "plugin/HostCallbacks.h"
#include "resources/DriverSandbox.h"
#include "resources/ProcessProbe.h"

namespace iwv {
namespace {

using Clock = std::chrono::steady_clock;
using test::DriverBehaviour;
using test::DriverRecord;
using test::DriverSandbox;
using test::FakeHost;

const char kStartFailure[] = "B\xB3\xB9" "d uruchomienia driver'a (232_read.exe).";
const char kConnectionErrorMessage[] = "Nie uda\xB3o si\xEA nawi\xB9zac po\xB3\xB9" "czenia !";
constexpr std::chrono::seconds kRecordWait{20};

// The system's way of starting drivers, with the polls counted.
struct CountingPlatform {
    unsigned polls = 0;

    DriverRunner::Platform Get() {
        DriverRunner::Platform platform = DriverRunner::SystemPlatform();
        platform.Sleep = [this, sleep = platform.Sleep](unsigned milliseconds) {
            if (milliseconds == 100) ++polls;
            sleep(milliseconds);
        };
        return platform;
    }
};

class DriverRunnerProcessTest : public ::testing::Test {
protected:
    bool Run(const std::string& commandLine, std::uint32_t timeoutTicks, const DriverRunner& runner) {
        return runner.Run(commandLine, timeoutTicks, sandbox.WorkDirectory(), kStartFailure, host);
    }

    DriverSandbox sandbox;
    FakeHost fake;
    const HostCallbacks host{fake.Instance(), 3};
};

TEST_F(DriverRunnerProcessTest, DriverSeesItsCommandLineAndRunsInTheWorkDirectory) {
    for (const char* commandLine : {"dlookup.exe inwout.txt,1,1", "232_read.exe inwin.txt,10,4",
                                    "dlookup.exe inwout.txt"}) {
        SCOPED_TRACE(commandLine);
        std::filesystem::remove(sandbox.Work() / "driver-record.txt");
        EXPECT_TRUE(Run(commandLine, 600, DriverRunner()));
        const std::optional<DriverRecord> record = sandbox.Record();
        ASSERT_TRUE(record);
        EXPECT_EQ(record->commandLine, commandLine);
        EXPECT_TRUE(std::filesystem::equivalent(record->directory, sandbox.Work())) << record->directory;
    }
    EXPECT_TRUE(fake.errors.empty());
}

TEST_F(DriverRunnerProcessTest, DriverEndingWithFailureCodeCountsAsEnded) {
    sandbox.SetBehaviour(DriverBehaviour{1, 0, false});
    EXPECT_TRUE(Run("232_read.exe inwin.txt,1,1", 600, DriverRunner()));
    EXPECT_TRUE(fake.errors.empty());
}

TEST_F(DriverRunnerProcessTest, DriverTakingTwoSecondsIsPolledAboutTwentyTimes) {
    sandbox.SetBehaviour(DriverBehaviour{0, 2000, false});
    CountingPlatform counting;
    const auto start = Clock::now();
    EXPECT_TRUE(Run("dlookup.exe inwout.txt,1,1", 600, DriverRunner(counting.Get())));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(1900));
    // At least 20 sleeps pass while the driver waits its 2 s; its start and
    // the polls themselves may add a few.
    EXPECT_GE(counting.polls, 20u);
    EXPECT_LE(counting.polls, 45u);
}

TEST_F(DriverRunnerProcessTest, MissingProgramIsAStartFailureWithoutWaiting) {
    CountingPlatform counting;
    DriverRunner::Platform platform = counting.Get();
    bool slept = false;
    platform.Sleep = [&slept](unsigned) { slept = true; };
    EXPECT_FALSE(Run("iwv_no_such_driver.exe inwin.txt,1,1", 600, DriverRunner(platform)));
    EXPECT_FALSE(slept);
    EXPECT_EQ(fake.errors, std::vector<std::string>{kStartFailure});
}

TEST_F(DriverRunnerProcessTest, DriverPastItsTimeoutIsKilledAndGone) {
    sandbox.SetBehaviour(DriverBehaviour{0, 0, true});
    // The limit counts from the start; the driver is first given time to
    // write its record, so that the test learns which process to look for.
    DriverRunner::Platform platform = DriverRunner::SystemPlatform();
    platform.Start = [this, start = platform.Start](const std::string& commandLine, const std::string& directory) {
        auto process = start(commandLine, directory);
        if (process) sandbox.AwaitRecord(kRecordWait);
        return process;
    };
    try {
        Run("dlookup.exe inwout.txt,1,1", 5, DriverRunner(platform));
        ADD_FAILURE() << "a driver that never ends was not stopped";
    } catch (const Error& error) {
        EXPECT_EQ(error.Message(), kConnectionErrorMessage);
    }
    const std::optional<DriverRecord> record = sandbox.Record();
    ASSERT_TRUE(record);
    EXPECT_TRUE(test::ProcessGone(record->pid)) << record->pid;
    EXPECT_TRUE(fake.errors.empty());
}

}  // namespace
}  // namespace iwv
