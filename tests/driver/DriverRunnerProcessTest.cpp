#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/DriverRunner.h"
#include "resources/DriverSandbox.h"
#include "resources/ProcessProbe.h"

namespace iwv {
namespace {

using Clock = std::chrono::steady_clock;
using test::DriverBehaviour;
using test::DriverRecord;
using test::DriverSandbox;

constexpr std::chrono::seconds kRecordWait{20};

// The system's services, with the polls counted.
class DriverRunnerProcessTest : public ::testing::Test {
protected:
    DriverRunnerProcessTest() {
        services.Sleep = [this, sleep = services.Sleep](unsigned milliseconds) {
            if (milliseconds == 100) ++polls;
            sleep(milliseconds);
        };
    }

    DriverRun Run(const std::string& commandLine, std::uint32_t timeoutTicks) {
        return DriverRunner(services).Run(commandLine, timeoutTicks, sandbox.WorkDirectory());
    }

    DriverSandbox sandbox;
    OperationServices services = OperationServices::System();
    unsigned polls = 0;
};

TEST_F(DriverRunnerProcessTest, DriverSeesItsCommandLineAndRunsInTheWorkDirectory) {
    for (const char* commandLine : {"dlookup.exe inwout.txt,1,1", "232_read.exe inwin.txt,10,4",
                                    "dlookup.exe inwout.txt"}) {
        SCOPED_TRACE(commandLine);
        std::filesystem::remove(sandbox.Work() / "driver-record.txt");
        EXPECT_EQ(Run(commandLine, 600).end, DriverEnd::Ended);
        const std::optional<DriverRecord> record = sandbox.Record();
        ASSERT_TRUE(record);
        EXPECT_EQ(record->commandLine, commandLine);
        EXPECT_TRUE(std::filesystem::equivalent(record->directory, sandbox.Work())) << record->directory;
    }
}

TEST_F(DriverRunnerProcessTest, DriverEndingWithFailureCodeCountsAsEnded) {
    sandbox.SetBehaviour(DriverBehaviour{1, 0, false});
    const DriverRun run = Run("232_read.exe inwin.txt,1,1", 600);
    EXPECT_EQ(run.end, DriverEnd::Ended);
    EXPECT_EQ(run.exitCode, 1u);
}

TEST_F(DriverRunnerProcessTest, DriverTakingTwoSecondsIsPolledAboutTwentyTimes) {
    sandbox.SetBehaviour(DriverBehaviour{0, 2000, false});
    const auto start = Clock::now();
    const DriverRun run = Run("dlookup.exe inwout.txt,1,1", 600);
    EXPECT_EQ(run.end, DriverEnd::Ended);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(1900));
    EXPECT_GE(run.milliseconds, 1900u);
    // At least 20 sleeps pass while the driver waits its 2 s; its start and
    // the polls themselves may add a few.
    EXPECT_GE(polls, 20u);
    EXPECT_LE(polls, 45u);
}

TEST_F(DriverRunnerProcessTest, MissingProgramIsAStartFailureWithoutWaiting) {
    bool slept = false;
    services.Sleep = [&slept](unsigned) { slept = true; };
    EXPECT_EQ(Run("iwv_no_such_driver.exe inwin.txt,1,1", 600).end, DriverEnd::CouldNotStart);
    EXPECT_FALSE(slept);
}

TEST_F(DriverRunnerProcessTest, DriverPastItsTimeoutIsKilledAndGone) {
    sandbox.SetBehaviour(DriverBehaviour{0, 0, true});
    // The limit counts from the start; the driver is first given time to
    // write its record, so that the test learns which process to look for.
    services.StartDriver = [this, start = services.StartDriver](const std::string& commandLine,
                                                                const std::string& directory,
                                                                std::unique_ptr<platform::DriverProcess>& started) {
        const platform::SystemError error = start(commandLine, directory, started);
        if (started) sandbox.AwaitRecord(kRecordWait);
        return error;
    };
    EXPECT_EQ(Run("dlookup.exe inwout.txt,1,1", 5).end, DriverEnd::TimedOut);
    const std::optional<DriverRecord> record = sandbox.Record();
    ASSERT_TRUE(record);
    EXPECT_TRUE(test::ProcessGone(record->pid)) << record->pid;
}

}  // namespace
}  // namespace iwv
