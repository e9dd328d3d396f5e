// The whole import with the host's count file on a disk that fills up while
// the new count is written: the operation ends with the error and the host
// keeps its old count.

#include <gtest/gtest.h>

#include <string>

#include "FullDisk.h"
#include "HardeningSupport.h"
#include "TestFiles.h"
#include "support/FakeServices.h"
#include "support/HostInstance.h"
#include "import/StockCountImport.h"
#include "resources/ScopedEnvironment.h"

namespace iwv::test {
namespace {

TEST(HardeningFullDiskImport, CountTooBigForTheDiskKeepsTheOldCount) {
    FullDisk disk;
    if (!disk.Real()) GTEST_SKIP() << disk.WhyNotReal() << ": the operation saves without the seam";
    ScopedEnvironment path("PATH", std::string(IWV_SIMULATOR_DIR) + ":" + ScopedEnvironment::Get("PATH").value_or(""));
    ScopedEnvironment terminal("IWV_TERMINAL_DIR", (disk.Root() / "terminal").string());
    std::filesystem::create_directories(disk.Root() / "terminal");
    std::string counts;
    for (int i = 0; i < 6000; ++i) counts += "590" + std::to_string(100000 + i) + ",12.5\r\n";
    WriteBytes(disk.Root() / "terminal" / "counts.txt", counts);
    const std::string old = "INW;1;1000\r\n";
    WriteBytes(disk.Data() / "remanent.txt", old);
    const std::string dataPath = disk.Root().string() + "\\Shop\\Data\\remanent.txt";
    RecordingHost host;
    host.answers["timeout"] = "1 min";
    FakeServices fake;
    const OperationServices services = fake.Services();

    const std::string message =
        ErrorOf([&] { ImportStockCount(InstanceOf(host), 1, dataPath.c_str(), services); });

    EXPECT_EQ(message, "Cannot write file " + dataPath);
    EXPECT_TRUE(std::filesystem::exists(disk.Shop() / "inwin.txt")) << "the driver ran and left the count";
    EXPECT_EQ(ReadBytes(disk.Data() / "remanent.txt"), old);
    EXPECT_EQ(EntryCount(disk.Data()), 1u) << "no temporary file may be left";
    EXPECT_TRUE(host.Texts("ReportError").empty());
}

}  // namespace
}  // namespace iwv::test
