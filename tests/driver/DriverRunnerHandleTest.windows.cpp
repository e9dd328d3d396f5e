#include <gtest/gtest.h>

#include <windows.h>

#include "driver/DriverRunner.h"
#include "resources/DriverSandbox.h"

namespace iwv {
namespace {

// Handle values are multiples of 4; a test process holds far fewer than this.
constexpr ULONG_PTR kHighestHandleScanned = 0x10000;

// Wine's GetProcessHandleCount succeeds but always reports 0, so where it
// gives nothing the handle table is counted by asking every handle value
// whether it is open.
DWORD HandleCount() {
    DWORD count = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count != 0) return count;
    for (ULONG_PTR value = 4; value <= kHighestHandleScanned; value += 4) {
        DWORD flags = 0;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    }
    return count;
}

TEST(DriverRunnerHandleTest, RunsLeaveNoHandlesBehind) {
    test::DriverSandbox sandbox;
    const OperationServices services = OperationServices::System();
    const auto run = [&] {
        return DriverRunner(services).Run("dlookup.exe inwout.txt,1,1", 600, sandbox.WorkDirectory()).end ==
               DriverEnd::Ended;
    };
    // The first start may open what the system keeps for every later one.
    ASSERT_TRUE(run());
    const DWORD before = HandleCount();
    ASSERT_NE(before, 0u);
    for (int i = 0; i < 50; ++i) ASSERT_TRUE(run()) << i;
    EXPECT_EQ(HandleCount(), before);
}

}  // namespace
}  // namespace iwv
