// The goods export as the exported entry point runs it, natively, with the
// simulated terminal's dlookup.exe on PATH.

#include <gtest/gtest.h>

#include "support/OperationFixture.h"
#include "export/GoodsExport.h"

namespace iwv::test {
namespace {

constexpr auto kGoods = Cp1250("X;77;Sól, kamienna;5;129;1000\r\nX;78;Mleko 3,2% 1 l;199;279;24000\r\n");

class GoodsExportTest : public OperationFixture {};

TEST_F(GoodsExportTest, WritesTheLookupFileAndLoadsTheTerminal) {
    WriteBytes(DataFile("towary.txt"), kGoods.view());
    EXPECT_EQ(ExportGoods(Instance(), 5, DataPath("towary.txt").c_str(), Services()), 1);
    const std::string lookup(Cp1250("Sól. kamienna,77,1.000,0,1.29\r\nMleko 3.2% 1 l,78,24.000,0,2.79\r\n").view());
    EXPECT_EQ(ReadBytes(Shop() / "inwout.txt"), lookup);
    EXPECT_EQ(ReadBytes(Terminal() / "goods.txt"), lookup);
    EXPECT_EQ(Summary(), (std::vector<std::string>{"GetParameterValue:port", "GetParameterValue:baud",
                                                   "GetParameterValue:timeout", "GetParameterValue:dlugosc",
                                                   "GetParameterValue:cena", "ShowStatus:" + Status()}));
    for (const HostCall& call : host_.calls) EXPECT_EQ(call.callContext, 5u);
    EXPECT_EQ(fake_.Pauses(), std::vector<unsigned>{1000});
}

TEST_F(GoodsExportTest, HostsNameLengthAndPriceLevelReachTheLookupFile) {
    host_.answers["dlugosc"] = "10 liter";
    host_.answers["cena"] = "Cena zak";
    WriteBytes(DataFile("towary.txt"), kGoods.view());
    EXPECT_EQ(ExportGoods(Instance(), 1, DataPath("towary.txt").c_str(), Services()), 1);
    EXPECT_EQ(ReadBytes(Shop() / "inwout.txt"), Cp1250("Sól. kamie,77,1.000,0,0.05\r\nMleko 3.2%,78,24.000,0,1.99\r\n").view());
}

TEST_F(GoodsExportTest, DriverThatCannotStartIsReportedAfterTheLookupFileIsWritten) {
    HideSimulator();
    WriteBytes(DataFile("towary.txt"), kGoods.view());
    EXPECT_EQ(ExportGoods(Instance(), 1, DataPath("towary.txt").c_str(), Services()), 0);
    EXPECT_EQ(Summary().back(), "ReportError:" + std::string(Cp1250("Błąd uruchomienia driver'a (dlookup.exe).").view()));
    EXPECT_TRUE(std::filesystem::exists(Shop() / "inwout.txt"));
}

}  // namespace
}  // namespace iwv::test
