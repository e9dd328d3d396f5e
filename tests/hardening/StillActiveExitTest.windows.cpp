// A driver whose real exit code is 259, the value Windows reports for a
// process that still runs: it counts as running, so the time-out must still
// end the wait, as a time-out, and nothing of it may be left.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "HardeningSupport.h"
#include "driver/DriverRunner.h"
#include "resources/DriverSandbox.h"
#include "resources/ProcessProbe.h"

namespace iwv::test {
namespace {

TEST(HardeningStillActiveDriver, IsEndedByTheTimeOut) {
    DriverSandbox sandbox(DriverBehaviour{platform::kStillActive, 0, false, false});
    const OperationServices services = OperationServices::System();
    constexpr std::uint32_t kTicks = 5;

    const auto start = std::chrono::steady_clock::now();
    const DriverEnd end = DriverRunner(services).Run("dlookup.exe inwout.txt", kTicks, sandbox.WorkDirectory()).end;
    const auto took = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(end, DriverEnd::TimedOut);
    EXPECT_GE(took, std::chrono::milliseconds(kTicks * 100));
    EXPECT_LT(took, std::chrono::seconds(10));
    const std::optional<DriverRecord> record = sandbox.Record();
    ASSERT_TRUE(record.has_value()) << "the driver ran";
    EXPECT_TRUE(ProcessGone(record->pid));
}

}  // namespace
}  // namespace iwv::test
