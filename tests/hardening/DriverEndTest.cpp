// Drivers that do not end by themselves in the ordinary way: killed by
// someone else, or crashed. Either way the driver has ended, and the
// operation goes on as after any other end.

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "HardeningSupport.h"
#include "ForcedEnd.h"
#include "driver/DriverRunner.h"
#include "resources/DriverSandbox.h"
#include "support/StartedDriver.h"
#include "resources/ProcessProbe.h"

namespace iwv::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::seconds kRecordWait{20};
// Ten seconds: long enough for any kill to be seen, short enough that a test
// that fails does not wait the default five minutes.
constexpr std::uint32_t kTimeoutTicks = 100;

// The exit code of a process once it has ended; kStillActive when it has not
// ended within kRecordWait.
std::uint32_t ExitCodeOnceEnded(platform::DriverProcess& process) {
    const auto deadline = Clock::now() + kRecordWait;
    std::uint32_t code = process.ExitCode();
    while (code == platform::kStillActive && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        code = process.ExitCode();
    }
    return code;
}

class HardeningDriverEnd : public testing::Test {
protected:
    struct Outcome {
        DriverEnd end = DriverEnd::CouldNotStart;
        Clock::duration took{};
    };

    Outcome Run(const char* commandLine) {
        const auto start = Clock::now();
        const DriverEnd end = DriverRunner(services_).Run(commandLine, kTimeoutTicks, sandbox_.WorkDirectory()).end;
        return Outcome{end, Clock::now() - start};
    }

    DriverSandbox sandbox_;
    const OperationServices services_ = OperationServices::System();
};

TEST_F(HardeningDriverEnd, DriverKilledFromOutsideHasEnded) {
    sandbox_.SetBehaviour(DriverBehaviour{0, 0, true, false});
    std::optional<DriverRecord> record;
    bool killed = false;
    std::thread killer([&] {
        record = sandbox_.AwaitRecord(kRecordWait);
        if (record) killed = KillFromOutside(record->pid);
    });

    const Outcome outcome = Run("232_read.exe inwin.txt");
    killer.join();

    ASSERT_TRUE(record.has_value()) << "the driver never started";
    ASSERT_TRUE(killed);
    EXPECT_EQ(outcome.end, DriverEnd::Ended);
    EXPECT_LT(outcome.took, std::chrono::seconds(8)) << "seen when it ended, not at the time-out";
    EXPECT_TRUE(ProcessGone(record->pid));
}

TEST_F(HardeningDriverEnd, CrashedDriverHasEnded) {
    sandbox_.SetBehaviour(DriverBehaviour{0, 0, false, true});
    // First what the system says about such a driver, to be sure it crashed.
    {
        const auto process = test::StartedDriver("dlookup.exe inwout.txt", sandbox_.WorkDirectory());
        ASSERT_TRUE(process);
        EXPECT_EQ(ExitCodeOnceEnded(*process), CrashExitCode());
    }

    const Outcome outcome = Run("dlookup.exe inwout.txt");

    EXPECT_EQ(outcome.end, DriverEnd::Ended);
    EXPECT_LT(outcome.took, std::chrono::seconds(8));
    const std::optional<DriverRecord> record = sandbox_.Record();
    ASSERT_TRUE(record.has_value());
    EXPECT_TRUE(ProcessGone(record->pid));
}

}  // namespace
}  // namespace iwv::test
