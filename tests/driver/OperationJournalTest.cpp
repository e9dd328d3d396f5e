// What one journal entry says, as the people who support a shop read it: in
// Polish, in Windows-1250, with CR LF.

#include <gtest/gtest.h>

#include <string>

#include "common/LibraryVersion.h"
#include "driver/OperationJournal.h"
#include "support/Polish.h"

namespace iwv::test {
namespace {

OperationJournal ImportEntry() {
    OperationJournal journal({2026, 12, 8, 9, 31, 2}, DriverKind::Import, "C:\\Sklep\\Dane\\remanent.txt");
    journal.Setting("port", "COM2");
    journal.Setting("baud", "9600");
    journal.Setting("timeout", "1 min");
    DriverSettings settings;
    settings.CommandLine = "232_read.exe inwin.txt,2,5";
    settings.TimeoutTicks = 600;
    journal.Settings(settings);
    return journal;
}

TEST(OperationJournal, ImportEntriesHoldEverythingInOrder) {
    OperationJournal journal = ImportEntry();
    EXPECT_EQ(journal.StartedText(),
              Pl("2026-12-08 09:31:02 początek odczytu C:\\Sklep\\Dane\\remanent.txt\r\n") +
                  "  wtyczka: IWVestra " + kProductVersionText + (sizeof(void*) == 8 ? ", 64" : ", 32") +
                  "-bitowa\r\n"
                  "  ustawienia: port COM2, baud 9600, timeout 1 min\r\n" +
                  Pl("  czas oczekiwania: 600 odpytań co 100 ms\r\n") +
                  "  polecenie: 232_read.exe inwin.txt,2,5\r\n"
                  "\r\n");
    journal.Driver(DriverRun{DriverEnd::Ended, 3, 2400, {}, {}});
    journal.Lines() = ConversionCounts{7, 3, 2, 1, 1};
    journal.TerminalCountImported("C:\\Sklep\\archiwum\\000001_2026-12-08_093102\\inwin.txt");
    journal.Result(1);
    EXPECT_EQ(journal.EndedText({2026, 12, 8, 9, 31, 5}),
              Pl("2026-12-08 09:31:05 koniec odczytu C:\\Sklep\\Dane\\remanent.txt\r\n"
                            "  sterownik: zakończył pracę z kodem 3 po 2400 ms\r\n"
                            "  wiersze: z inwentaryzatora 7, w pliku spisu 3, pominięte 4 (zła liczba pól 2, "
                            "ilość „00000” 1, bez ilości 1)\r\n"
                            "  spis z inwentaryzatora: w pliku spisu, kopia w "
                            "C:\\Sklep\\archiwum\\000001_2026-12-08_093102\\inwin.txt\r\n"
                            "  wynik: 1\r\n"
                            "\r\n"));
}

TEST(OperationJournal, EveryWayADriverEndsIsNamedWithTheSystemsReason) {
    const platform::SystemError missing = platform::SystemErrorOfKind(platform::SystemError::Kind::NotFound);
    const std::string reason = " (" + Pl("błąd systemu ") + std::to_string(missing.code) + ": " +
                               platform::SystemErrorText(missing.code) + ")";
    const struct {
        DriverRun run;
        std::string line;
    } cases[] = {
        {{DriverEnd::Ended, 0, 100, {}, {}}, Pl("  sterownik: zakończył pracę z kodem 0 po 100 ms\r\n")},
        {{DriverEnd::CouldNotStart, 0, 0, missing, "C:\\Sklep\\232_read.exe"},
         Pl("  sterownik: nie dał się uruchomić: C:\\Sklep\\232_read.exe") + reason + "\r\n"},
        {{DriverEnd::CouldNotStart, 0, 0, missing, ""},
         Pl("  sterownik: nie dał się uruchomić: Windows nie znajduje go w miejscach, w których szuka "
                       "programów") +
             reason + "\r\n"},
        {{DriverEnd::TimedOut, 0, 60000, {}, {}},
         Pl("  sterownik: przerwany po upływie czasu oczekiwania, po 60000 ms\r\n")},
    };
    for (const auto& c : cases) {
        OperationJournal journal = ImportEntry();
        journal.Driver(c.run);
        EXPECT_NE(journal.EndedText({2026, 12, 8, 9, 32, 0}).find(c.line), std::string::npos) << c.line;
    }
}

// A failed import says how many lines the terminal sent and where its count
// waits; an export's lines carry no import reasons.
TEST(OperationJournal, FailureSaysWhereTheCountWaitsAndWhy) {
    OperationJournal journal = ImportEntry();
    journal.Lines() = ConversionCounts{5, 4, 1, 0, 0};
    journal.TerminalCountWaitsIn("C:\\Sklep\\archiwum\\000001_2026-12-08_093102_niezaimportowany\\inwin.txt");
    const platform::SystemError full = platform::SystemErrorOfKind(platform::SystemError::Kind::DiskFull);
    journal.Failure("Cannot write file C:\\Sklep\\Dane\\remanent.txt", full);
    const std::string text = journal.EndedText({2026, 12, 8, 9, 32, 0});
    for (const std::string& line :
         {Pl("  wiersze: z inwentaryzatora 5 (nie trafiły do pliku spisu)\r\n"),
          Pl("  spis z inwentaryzatora: nie trafił do pliku spisu, czeka w "
                        "C:\\Sklep\\archiwum\\000001_2026-12-08_093102_niezaimportowany\\inwin.txt\r\n"),
          Pl("  błąd: Cannot write file C:\\Sklep\\Dane\\remanent.txt (błąd systemu ") +
              std::to_string(full.code) + ": " + platform::SystemErrorText(full.code) + ")\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "in\n" << text;
    EXPECT_EQ(text.find("sterownik:"), std::string::npos) << "no driver ran";

    OperationJournal exported({2026, 12, 8, 9, 31, 2}, DriverKind::Export, "C:\\Sklep\\Dane\\towary.txt");
    exported.Lines() = ConversionCounts{3, 3, 0, 0, 0};
    exported.Result(1);
    EXPECT_NE(exported.EndedText({2026, 12, 8, 9, 32, 0})
                  .find(Pl("  wiersze: w pliku towarów 3, w pliku dla inwentaryzatora 3\r\n")),
              std::string::npos);
}

}  // namespace
}  // namespace iwv::test
