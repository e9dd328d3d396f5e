// The goods export as the exported entry point runs it, natively, with the
// simulated terminal's dlookup.exe on PATH.

#include <gtest/gtest.h>

#include "support/ErrorOf.h"
#include "support/OperationFixture.h"
#include "support/Polish.h"
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

TEST_F(GoodsExportTest, TheJournalSaysHowTheExportStartedAndHowItEnded) {
    WriteBytes(DataFile("towary.txt"), kGoods.view());
    ASSERT_EQ(ExportGoods(Instance(), 1, DataPath("towary.txt").c_str(), Services()), 1);
    const std::string journal = JournalText();
    EXPECT_EQ(journal.rfind(Pl("2026-12-08 09:31:02 początek wysyłki ") + DataPath("towary.txt") + "\r\n", 0), 0u)
        << journal;
    EXPECT_TRUE(InOrder(journal, {"  wtyczka: IWVestra ",
                                  "  ustawienia: port COM2, baud 9600, timeout 1 min, dlugosc 20 liter, cena Cena det\r\n",
                                  Pl("  czas oczekiwania: 600 odpytań co 100 ms\r\n"),
                                  "  polecenie: dlookup.exe inwout.txt,2,5\r\n\r\n",
                                  Pl("2026-12-08 09:31:02 koniec wysyłki ") + DataPath("towary.txt") + "\r\n",
                                  Pl("  sterownik: zakończył pracę z kodem 0 po "),
                                  Pl("  wiersze: w pliku towarów 2, w pliku dla inwentaryzatora 2\r\n"),
                                  "  wynik: 1\r\n\r\n"}));
}

// The journal says what an unknown answer did, never a value that was not used.
TEST_F(GoodsExportTest, AnswersOutsideTheListsAreJournaledAsTheyActed) {
    WriteBytes(DataFile("towary.txt"), kGoods.view());
    host_.answers["port"] = "COM99";
    host_.answers["dlugosc"] = "12";
    ASSERT_EQ(ExportGoods(Instance(), 1, DataPath("towary.txt").c_str(), Services()), 1);
    for (const std::string& line : {Pl("  ustawienia: port „COM99” spoza listy, więc sterownik bez kodu, baud 9600, "
                                       "timeout 1 min, dlugosc „12” spoza listy, więc 20 liter, cena Cena det\r\n"),
                                    std::string("  polecenie: dlookup.exe inwout.txt,5\r\n")})
        EXPECT_NE(JournalText().find(line), std::string::npos) << line << " in\n" << JournalText();
}

TEST_F(GoodsExportTest, ErrorThatEndsTheExportIsJournaledAndStillReachesTheHost) {
    EXPECT_EQ(ErrorOf([&] { ExportGoods(Instance(), 1, DataPath("towary.txt").c_str(), Services()); }),
              "Cannot open file " + DataPath("towary.txt"));
    EXPECT_TRUE(InOrder(JournalText(), {Pl("  błąd: Cannot open file ") + DataPath("towary.txt") + Pl(" (błąd systemu ")}));
}

TEST_F(GoodsExportTest, DirectoryNamedLikeTheJournalChangesNothing) {
    std::filesystem::create_directories(Shop() / "iwvestra.log" / "inside");
    WriteBytes(DataFile("towary.txt"), kGoods.view());
    EXPECT_EQ(ExportGoods(Instance(), 1, DataPath("towary.txt").c_str(), Services()), 1);
    EXPECT_EQ(ReadBytes(Shop() / "inwout.txt"),
              Cp1250("Sól. kamienna,77,1.000,0,1.29\r\nMleko 3.2% 1 l,78,24.000,0,2.79\r\n").view());
    EXPECT_TRUE(std::filesystem::is_directory(Shop() / "iwvestra.log" / "inside"));
}

}  // namespace
}  // namespace iwv::test
