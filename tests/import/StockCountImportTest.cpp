// The stock-count import, natively, with the simulated terminal's
// 232_read.exe on PATH.

#include <gtest/gtest.h>

#include "support/OperationFixture.h"
#include "import/StockCountImport.h"

namespace iwv::test {
namespace {

class StockCountImportTest : public OperationFixture {};

TEST_F(StockCountImportTest, ReplacesTheCountFileWithTheTerminalsCount) {
    std::filesystem::create_directories(Terminal());
    WriteBytes(Terminal() / "counts.txt", "77,1.5\r\n78,00000\r\n79,2.5009\r\n");
    WriteBytes(DataFile("remanent.txt"), "old\r\n");
    EXPECT_EQ(ImportStockCount(Instance(), 9, DataPath("remanent.txt").c_str(), Services()), 1);
    EXPECT_EQ(ReadBytes(DataFile("remanent.txt")), "INW;77;1500\r\nINW;79;2500\r\n");
    EXPECT_EQ(Summary(), (std::vector<std::string>{"GetParameterValue:port", "GetParameterValue:baud",
                                                   "GetParameterValue:timeout", "ShowStatus:" + Status()}));
    EXPECT_EQ(fake_.Pauses(), (std::vector<unsigned>{1000, 2000}));
}

TEST_F(StockCountImportTest, StaleTerminalDataIsNeverTakenForANewCount) {
    ScopedEnvironment noData("IWV_SIMULATOR_NO_DATA", "1");
    WriteBytes(Shop() / "inwin.txt", "77,99\r\n");
    WriteBytes(DataFile("remanent.txt"), "INW;77;1000\r\n");
    EXPECT_EQ(ImportStockCount(Instance(), 1, DataPath("remanent.txt").c_str(), Services()), 1);
    EXPECT_EQ(ReadBytes(DataFile("remanent.txt")), "INW;77;1000\r\n");
    EXPECT_FALSE(std::filesystem::exists(Shop() / "inwin.txt"));
}

TEST_F(StockCountImportTest, DriverThatCannotStartLeavesTheCountFile) {
    HideSimulator();
    WriteBytes(Shop() / "inwin.txt", "77,99\r\n");
    WriteBytes(DataFile("remanent.txt"), "INW;77;1000\r\n");
    EXPECT_EQ(ImportStockCount(Instance(), 1, DataPath("remanent.txt").c_str(), Services()), 0);
    EXPECT_EQ(Summary().back(),
              "ReportError:" + std::string(Cp1250("Błąd uruchomienia driver'a (232_read.exe).").view()));
    EXPECT_EQ(ReadBytes(DataFile("remanent.txt")), "INW;77;1000\r\n");
    EXPECT_FALSE(std::filesystem::exists(Shop() / "inwin.txt"));
}

}  // namespace
}  // namespace iwv::test
