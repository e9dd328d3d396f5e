// A host killed while its import's driver runs, as a shop PC may be switched
// off or a hung program ended from the task manager: the journal still holds
// the start of the import, on disk before the driver ran, and the count file
// is as it was.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "ForcedEnd.h"
#include "HardeningSupport.h"
#include "IsolatedRun.h"
#include "TestFiles.h"
#include "import/StockCountImport.h"
#include "support/FakeServices.h"
#include "support/HostInstance.h"
#include "support/Polish.h"

namespace iwv::test {
namespace {

TEST(HardeningKilledHost, LeavesTheStartOfTheImportInTheJournal) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "Shop" / "Data");
    WriteBytes(dir.Path() / "Shop" / "Data" / "remanent.txt", "INW;1;1000\r\n");
    const std::string dataPath = dir.Path().string() + "\\Shop\\Data\\remanent.txt";

    const IsolatedResult result = RunIsolated([&] {
        RecordingHost host;
        host.answers["timeout"] = "1 min";
        FakeServices fake;
        fake.startDriver = [](const std::string&, const std::string&, std::unique_ptr<platform::DriverProcess>&) {
            KillFromOutside(static_cast<unsigned long>(::getpid()));
            return platform::SystemErrorOfKind(platform::SystemError::Kind::NotFound);
        };
        const OperationServices services = fake.Services();
        ImportStockCount(InstanceOf(host), 1, dataPath.c_str(), services);
    });

    ASSERT_TRUE(result.crashed) << "the host was not killed";
    const std::string journal = ReadBytes(dir.Path() / "Shop" / "iwvestra.log");
    EXPECT_EQ(journal.rfind(Pl("2026-12-08 09:31:02 początek odczytu ") + dataPath + "\r\n", 0), 0u) << journal;
    EXPECT_NE(journal.find("  polecenie: 232_read.exe inwin.txt\r\n\r\n"), std::string::npos) << journal;
    EXPECT_EQ(journal.find(" koniec odczytu "), std::string::npos) << journal;
    EXPECT_EQ(ReadBytes(dir.Path() / "Shop" / "Data" / "remanent.txt"), "INW;1;1000\r\n");
}

}  // namespace
}  // namespace iwv::test
