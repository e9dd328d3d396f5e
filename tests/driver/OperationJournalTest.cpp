// What one journal entry says, as the people who support a shop read it.

#include <gtest/gtest.h>

#include <string>

#include "common/Cp1250.h"
#include "driver/OperationJournal.h"

namespace iwv::test {
namespace {

OperationJournal ImportEntry() {
    OperationJournal journal({2026, 12, 8, 9, 31, 2}, DriverKind::Import, "C:\\Shop\\Data\\remanent.txt");
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
              "2026-12-08 09:31:02 import started C:\\Shop\\Data\\remanent.txt\r\n"
              "  settings: port COM2, baud 9600, timeout 1 min\r\n"
              "  time-out: 600 polls of 100 ms\r\n"
              "  command line: 232_read.exe inwin.txt,2,5\r\n"
              "\r\n");
    journal.Driver(DriverRun{DriverEnd::Ended, 3, 2400});
    journal.Lines(ConversionCounts{7, 3, 2, 1, 1});
    journal.Note("archived in C:\\Shop\\archiwum\\000001_2026-12-08_093102");
    journal.Result(1);
    EXPECT_EQ(journal.EndedText({2026, 12, 8, 9, 31, 5}),
              "2026-12-08 09:31:05 import ended C:\\Shop\\Data\\remanent.txt\r\n"
              "  driver: ended with exit code 3 after 2400 ms\r\n"
              "  lines: read 7, written 3, skipped 4 (wrong number of fields 2, quantity \"00000\" 1, no value 1)\r\n"
              "  note: archived in C:\\Shop\\archiwum\\000001_2026-12-08_093102\r\n"
              "  outcome: result 1\r\n"
              "\r\n");
}

struct EndCase {
    DriverRun run;
    const char* line;
};

TEST(OperationJournal, EveryWayADriverEndsIsNamed) {
    const EndCase cases[] = {
        {{DriverEnd::Ended, 0, 100}, "  driver: ended with exit code 0 after 100 ms\r\n"},
        {{DriverEnd::CouldNotStart, 0, 0}, "  driver: could not be started\r\n"},
        {{DriverEnd::TimedOut, 0, 60000}, "  driver: killed at its time-out after 60000 ms\r\n"},
    };
    for (const EndCase& c : cases) {
        OperationJournal journal = ImportEntry();
        journal.Driver(c.run);
        EXPECT_NE(journal.EndedText({2026, 12, 8, 9, 32, 0}).find(c.line), std::string::npos) << c.line;
    }
}

TEST(OperationJournal, AnErrorIsRecordedWithItsTextInWindows1250) {
    OperationJournal journal = ImportEntry();
    const auto message = Cp1250("Nie udało się nawiązac połączenia !");
    journal.Failure(std::string(message.view()));
    const std::string text = journal.EndedText({2026, 12, 8, 9, 32, 0});
    EXPECT_NE(text.find("  outcome: error: " + std::string(message.view()) + "\r\n"), std::string::npos);
    EXPECT_EQ(text.find("  driver:"), std::string::npos) << "no driver ran";
}

}  // namespace
}  // namespace iwv::test
