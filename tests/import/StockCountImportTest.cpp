// The stock-count import, natively, with the simulated terminal's
// 232_read.exe on PATH.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <new>

#include "support/ErrorOf.h"
#include "support/OperationFixture.h"
#include "support/Polish.h"
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
    EXPECT_TRUE(InOrder(JournalText(), {Pl("2026-12-08 09:31:02 początek odczytu ") + DataPath("remanent.txt") + "\r\n",
                                        "  ustawienia: port COM2, baud 9600, timeout 1 min\r\n",
                                        "  polecenie: 232_read.exe inwin.txt,2,5\r\n\r\n",
                                        "2026-12-08 09:31:02 koniec odczytu " + DataPath("remanent.txt") + "\r\n",
                                        Pl("  sterownik: zakończył pracę z kodem 0 po "),
                                        Pl("  wiersze: z inwentaryzatora 3, w pliku spisu 2, pominięte 1 (zła liczba pól 0, ilość "
                                           "„00000” 1, bez ilości 0)\r\n"),
                                        "  spis z inwentaryzatora: w pliku spisu, kopia w " + dir_.Path().string() +
                                            "\\Shop\\archiwum\\000001_2026-12-08_093102\\inwin.txt\r\n",
                                        "  wynik: 1\r\n\r\n"}));
}

// A count an earlier import never imported is neither taken for this one's
// nor lost: it goes into the archive, marked as not imported.
TEST_F(StockCountImportTest, EarlierTerminalDataIsSetAsideNeverTakenForANewCount) {
    ScopedEnvironment noData("IWV_SIMULATOR_NO_DATA", "1");
    WriteBytes(Shop() / "inwin.txt", "77,99\r\n");
    WriteBytes(DataFile("remanent.txt"), "INW;77;1000\r\n");
    EXPECT_EQ(ImportStockCount(Instance(), 1, DataPath("remanent.txt").c_str(), Services()), 1);
    EXPECT_EQ(ReadBytes(DataFile("remanent.txt")), "INW;77;1000\r\n");
    EXPECT_FALSE(std::filesystem::exists(Shop() / "inwin.txt"));
    EXPECT_EQ(ReadBytes(Shop() / "archiwum" / "000001_2026-12-08_093102_niezaimportowany" / "inwin.txt"), "77,99\r\n");
    EXPECT_TRUE(InOrder(JournalText(), {Pl("  spis z inwentaryzatora: sterownik nie zostawił pliku "),
                                        Pl("  uwaga: wcześniejszy spis z inwentaryzatora, nigdy nie zaimportowany, "
                                           "przeniesiono do ")}));
}

TEST_F(StockCountImportTest, StaleTerminalDataThatCannotBeDeletedStopsTheImportBeforeTheDriver) {
    // A directory of that name resists deletion even for root.
    std::filesystem::create_directories(Shop() / "inwin.txt" / "held");
    std::filesystem::create_directories(Terminal());
    WriteBytes(Terminal() / "counts.txt", "77,1.5\r\n");
    WriteBytes(DataFile("remanent.txt"), "INW;77;1000\r\n");
    const std::string terminalDataFile = dir_.Path().string() + "\\Shop\\inwin.txt";
    EXPECT_EQ(ErrorOf([&] { ImportStockCount(Instance(), 1, DataPath("remanent.txt").c_str(), Services()); }),
              "Cannot create file " + terminalDataFile);
    EXPECT_EQ(ReadBytes(DataFile("remanent.txt")), "INW;77;1000\r\n");
    EXPECT_EQ(fake_.sleeps, std::vector<unsigned>{1000});  // no transmission pause, no driver
    EXPECT_NE(JournalText().find(Pl("  błąd: Cannot create file ") + terminalDataFile + Pl(" (błąd systemu ")),
              std::string::npos)
        << JournalText();
}

TEST_F(StockCountImportTest, DriverKilledAtItsTimeOutIsJournaledWithTheError) {
    ScopedEnvironment hang("IWV_SIMULATOR_HANG", "1");
    const std::string message(Cp1250("Nie udało się nawiązac połączenia !").view());
    EXPECT_EQ(ErrorOf([&] { ImportStockCount(Instance(), 1, DataPath("remanent.txt").c_str(), Services()); }), message);
    const std::string journal = JournalText();
    EXPECT_NE(journal.find(Pl("  sterownik: przerwany po upływie czasu oczekiwania, po 60000 ms\r\n")), std::string::npos)
        << journal;
    EXPECT_NE(journal.find(Pl("  błąd: ") + message + "\r\n"), std::string::npos) << journal;
}

// The journal holds an operation's start on disk before the driver runs, so
// that a host killed while it runs still leaves it; the end follows in an
// entry of its own.
TEST_F(StockCountImportTest, TheJournalSaysAnImportStartedBeforeItsDriverRuns) {
    std::string atDriverStart;
    fake_.startDriver = [&](const std::string& commandLine, const std::string& directory,
                            std::unique_ptr<platform::DriverProcess>& started) {
        atDriverStart = JournalText();
        return platform::DriverProcess::Start(commandLine, directory, started);
    };
    ASSERT_EQ(ImportStockCount(Instance(), 1, DataPath("remanent.txt").c_str(), Services()), 1);
    for (const std::string& line : {Pl("2026-12-08 09:31:02 początek odczytu ") + DataPath("remanent.txt") + "\r\n",
                                    std::string("  ustawienia: port COM2, baud 9600, timeout 1 min\r\n"),
                                    std::string("  polecenie: 232_read.exe inwin.txt,2,5\r\n")})
        EXPECT_NE(atDriverStart.find(line), std::string::npos) << line << " in\n" << atDriverStart;
    EXPECT_EQ(atDriverStart.find("  wynik:"), std::string::npos) << atDriverStart;
    const std::string journal = JournalText();
    EXPECT_EQ(journal.rfind(atDriverStart, 0), 0u) << journal;
    EXPECT_NE(journal.find(" koniec odczytu " + DataPath("remanent.txt") + "\r\n", atDriverStart.size()),
              std::string::npos)
        << journal;
}

TEST_F(StockCountImportTest, RunningOutOfMemoryIsJournaledAndGoesOnToTheHost) {
    fake_.startDriver = [](const std::string&, const std::string&,
                           std::unique_ptr<platform::DriverProcess>&) -> platform::SystemError { throw std::bad_alloc(); };
    EXPECT_THROW(ImportStockCount(Instance(), 1, DataPath("remanent.txt").c_str(), Services()), std::bad_alloc);
    EXPECT_NE(JournalText().find(Pl("  błąd: Brak pamięci\r\n")), std::string::npos) << JournalText();
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
    EXPECT_EQ(ReadBytes(Shop() / "archiwum" / "000001_2026-12-08_093102_niezaimportowany" / "inwin.txt"), "77,99\r\n");
}

class StockCountArchiveTest : public StockCountImportTest {
protected:
    StockCountArchiveTest() {
        std::filesystem::create_directories(Terminal());
        WriteBytes(Terminal() / "counts.txt", "77,1.5\r\n");
    }
    int Import() { return ImportStockCount(Instance(), 1, DataPath("remanent.txt").c_str(), Services()); }
    std::filesystem::path Archive() const { return Shop() / "archiwum"; }
    std::vector<std::string> Archived() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Archive())) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(StockCountArchiveTest, TheCountReplacedCanBeRecoveredEvenAfterASecondImportInTheSameSecond) {
    WriteBytes(DataFile("remanent.txt"), "INW;5;1000\r\n");
    ASSERT_EQ(Import(), 1);
    WriteBytes(Terminal() / "counts.txt", "78,2\r\n");
    ASSERT_EQ(Import(), 1);
    EXPECT_EQ(ReadBytes(DataFile("remanent.txt")), "INW;78;2000\r\n");
    EXPECT_EQ(Archived(), (std::vector<std::string>{"000001_2026-12-08_093102", "000002_2026-12-08_093102"}));
    EXPECT_EQ(ReadBytes(Archive() / "000001_2026-12-08_093102" / "remanent.txt"), "INW;5;1000\r\n");
    EXPECT_EQ(ReadBytes(Archive() / "000001_2026-12-08_093102" / "inwin.txt"), "77,1.5\r\n");
    EXPECT_EQ(ReadBytes(Archive() / "000002_2026-12-08_093102" / "remanent.txt"), "INW;77;1500\r\n");
    EXPECT_EQ(ReadBytes(Archive() / "000002_2026-12-08_093102" / "inwin.txt"), "78,2\r\n");
    EXPECT_NE(JournalText().find("kopia w " + dir_.Path().string() +
                                 "\\Shop\\archiwum\\000002_2026-12-08_093102\\inwin.txt\r\n"),
              std::string::npos)
        << JournalText();
}

TEST_F(StockCountArchiveTest, WithoutACountFileOnlyTheTerminalsCountIsArchived) {
    ASSERT_EQ(Import(), 1);
    EXPECT_EQ(ReadBytes(Archive() / "000001_2026-12-08_093102" / "inwin.txt"), "77,1.5\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Archive() / "000001_2026-12-08_093102"),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(StockCountArchiveTest, FiftyOneImportsKeepTheFiftyNewestAndNothingElseIsTouched) {
    std::filesystem::create_directories(Archive() / "notes");
    WriteBytes(Archive() / "notes" / "keep.txt", "mine");
    for (int minute = 0; minute < 51; ++minute) {
        fake_.now = {2026, 12, 8, 10, minute, 0};
        ASSERT_EQ(Import(), 1);
    }
    const std::vector<std::string> archived = Archived();
    ASSERT_EQ(archived.size(), 51u);  // the fifty imports and the notes
    EXPECT_EQ(archived.front(), "000002_2026-12-08_100100") << "the oldest import is gone";
    EXPECT_EQ(archived[49], "000051_2026-12-08_105000");
    EXPECT_EQ(archived.back(), "notes");
    EXPECT_EQ(ReadBytes(Archive() / "notes" / "keep.txt"), "mine");
}

// A terminal's count that reached the PC stays on it until it is imported:
// an archive that cannot be written stops the import before the count file
// changes, the count waits in the work directory, and the next import, once
// the cause is put right, keeps it in the archive even when the terminal,
// having sent it once, sends nothing.
TEST_F(StockCountArchiveTest, ACountThatCouldNotBeArchivedIsKeptForWhenTheArchiveIsPutRight) {
    WriteBytes(Archive(), "a file where the archive belongs");
    WriteBytes(DataFile("remanent.txt"), "INW;5;1000\r\n");
    const std::string archiveFolder = dir_.Path().string() + "\\Shop\\archiwum\\000001_2026-12-08_093102_niezaimportowany";
    EXPECT_EQ(ErrorOf([&] { Import(); }), "Cannot create file " + archiveFolder);
    EXPECT_EQ(ReadBytes(DataFile("remanent.txt")), "INW;5;1000\r\n");
    EXPECT_EQ(ReadBytes(Shop() / "inwin.txt"), "77,1.5\r\n");

    std::filesystem::remove(Archive());
    ScopedEnvironment noData("IWV_SIMULATOR_NO_DATA", "1");
    EXPECT_EQ(Import(), 1);
    EXPECT_EQ(ReadBytes(DataFile("remanent.txt")), "INW;5;1000\r\n");
    EXPECT_EQ(ReadBytes(Archive() / "000001_2026-12-08_093102_niezaimportowany" / "inwin.txt"), "77,1.5\r\n");
}

// A failed import leaves nothing in the archive that looks like a success:
// the terminal's count waits in a folder marked as not imported, and the
// journal says where.
TEST_F(StockCountArchiveTest, AFailedImportLeavesItsCountMarkedAsNotImported) {
    std::filesystem::remove_all(Shop() / "Data");
    const std::string message = ErrorOf([&] { Import(); });
    EXPECT_EQ(message, "Cannot create file " + DataPath("remanent.txt"));
    ASSERT_EQ(Archived(), std::vector<std::string>{"000001_2026-12-08_093102_niezaimportowany"});
    EXPECT_EQ(ReadBytes(Archive() / Archived()[0] / "inwin.txt"), "77,1.5\r\n");
    EXPECT_TRUE(InOrder(JournalText(), {Pl("  wiersze: z inwentaryzatora 1 (nie trafiły do pliku spisu)\r\n"),
                                        Pl("  spis z inwentaryzatora: nie trafił do pliku spisu, czeka w ") +
                                            dir_.Path().string() +
                                            "\\Shop\\archiwum\\000001_2026-12-08_093102_niezaimportowany\\inwin.txt\r\n",
                                        Pl("  błąd: ") + message + Pl(" (błąd systemu ")}));
}

// The archive's folders of every import so far, by the path the journal gave
// for the terminal's count.
std::vector<std::string> ArchivedIn(const std::string& journal) {
    static const std::string kCopy = "  spis z inwentaryzatora: w pliku spisu, kopia w ";
    std::vector<std::string> directories;
    for (std::size_t at = journal.find(kCopy); at != std::string::npos; at = journal.find(kCopy, at + 1)) {
        const std::size_t from = at + kCopy.size();
        directories.push_back(journal.substr(from, journal.find("\\inwin.txt\r\n", from) - from));
    }
    return directories;
}

// A PC clock once set ahead and then put right makes every new import look
// older than the archive's folders; the folder just written is still kept.
TEST_F(StockCountArchiveTest, AClockSetBackNeverCostsTheImportJustArchived) {
    for (int minute = 0; minute < 50; ++minute) {
        char name[32];
        std::snprintf(name, sizeof name, "2030-01-01_10%02d00", minute);
        std::filesystem::create_directories(Archive() / name);
        WriteBytes(Archive() / name / "inwin.txt", "1,1\r\n");
    }
    WriteBytes(DataFile("remanent.txt"), "INW;5;1000\r\n");
    fake_.now = {2026, 12, 8, 9, 31, 2};
    for (int import = 0; import < 2; ++import) ASSERT_EQ(Import(), 1);

    const std::vector<std::string> archivedIn = ArchivedIn(JournalText());
    ASSERT_EQ(archivedIn.size(), 2u) << JournalText();
    const std::string first = archivedIn[0].substr(archivedIn[0].find_last_of('\\') + 1);
    const std::string second = archivedIn[1].substr(archivedIn[1].find_last_of('\\') + 1);
    EXPECT_EQ(ReadBytes(Archive() / first / "remanent.txt"), "INW;5;1000\r\n");
    EXPECT_EQ(ReadBytes(Archive() / second / "remanent.txt"), "INW;77;1500\r\n");
    const std::vector<std::string> archived = Archived();
    EXPECT_EQ(archived.size(), 50u);
    EXPECT_EQ(std::count(archived.begin(), archived.end(), "2030-01-01_100000"), 0) << "the oldest goes first";
    EXPECT_EQ(std::count(archived.begin(), archived.end(), "2030-01-01_100100"), 0);
    EXPECT_EQ(std::count(archived.begin(), archived.end(), "2030-01-01_100200"), 1);
}

}  // namespace
}  // namespace iwv::test
