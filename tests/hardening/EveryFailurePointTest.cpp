// Every export and import on a disk in memory, once for every call it makes
// to the file system with that call failing, and once for every change it
// makes to the disk with the power cut just before it. Whatever the point:
// the count file is the old one or the whole new one, the old one is kept,
// every terminal count that reached the PC is kept, the terminal is never
// loaded from a lookup file that is not whole, and a failure is never
// reported as success.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <string>

#include "common/Error.h"
#include "export/GoodsExport.h"
#include "import/CountArchive.h"
#include "import/StockCountImport.h"
#include "support/FakeServices.h"
#include "support/FaultyFileSystem.h"
#include "support/HostInstance.h"
#include "support/MemoryFileSystem.h"

namespace iwv::test {
namespace {

const std::string kWork = "C:\\Sklep";
const std::string kCountFile = kWork + "\\Dane\\remanent.txt";
const std::string kGoodsFile = kWork + "\\Dane\\towary.txt";
const std::string kTerminalData = kWork + "\\inwin.txt";
const std::string kLookupFile = kWork + "\\inwout.txt";
const std::string kArchive = kWork + "\\archiwum";

const std::string kTerminalCount = "77,1.5\r\n78,00000\r\n79,2\r\n";
const std::string kNewCount = "INW;77;1500\r\nINW;79;2000\r\n";
const std::string kOldCount = "INW;1;1000\r\nINW;2;2000\r\nINW;3;3000\r\n";
const std::string kEarlierTerminalCount = "5,1\r\n";
const std::string kGoods = "X;77;Mleko, 2%;189;249;1000\r\nX;79;Chleb;95;129;3000\r\n";
const std::string kNewLookup = "Mleko. 2%,77,1.000,0,2.49\r\nChleb,79,3.000,0,1.29\r\n";

// A driver that ends at once, having done its work on the disk.
class InstantDriver final : public platform::DriverProcess {
public:
    std::uint32_t ExitCode() override { return 0; }
    void Kill() override {}
};

struct Outcome {
    bool raised = false;
    std::int32_t result = 0;
    std::string message;
};

// One station on its disk: the host, the time, and the terminal in its dock.
struct Station {
    MemoryFileSystem disk;
    FaultyFileSystem files{disk};
    RecordingHost host;
    FakeServices time;
    bool driverRan = false;
    std::optional<std::string> terminalLoadedWith;
    std::function<void()> whenDriverRuns;

    Station() {
        disk.MakeFolders(kWork + "\\Dane");
        disk.SetClock([this] { return time.milliseconds; });
        time.yieldOnPoll = false;
        time.files = &files;
        time.startDriver = [this](const std::string&, const std::string&,
                                  std::unique_ptr<platform::DriverProcess>& started) {
            driverRan = true;
            if (whenDriverRuns) whenDriverRuns();
            started = std::make_unique<InstantDriver>();
            return platform::SystemError{};
        };
    }

    using Operation = std::int32_t (*)(const LibraryInstance&, HostWord, const char*, const OperationServices&);

    Outcome Run(Operation operation, const std::string& dataPath) {
        Outcome outcome;
        const OperationServices services = time.Services();
        try {
            outcome.result = operation(InstanceOf(host), 1, dataPath.c_str(), services);
        } catch (const Error& error) {
            outcome.raised = true;
            outcome.message = error.Message();
        }
        return outcome;
    }
};

// Runs operation on a fresh station once for each of its changes, the power
// cut just before it, and once with the power cut after the last; check gets
// the disk as it comes back up. Returns the number of points.
template <class SetUp, class Check>
std::size_t ForEveryPowerCut(const SetUp& setUp, Station::Operation operation, const std::string& dataPath,
                             const Check& check) {
    Station counting;
    setUp(counting);
    counting.Run(operation, dataPath);
    const std::size_t changes = counting.files.Changes();
    for (std::size_t point = 1; point <= changes + 1; ++point) {
        Station station;
        setUp(station);
        station.files.CutPowerAt(point);
        station.Run(operation, dataPath);
        const MemoryFileSystem* after = station.files.AfterPowerCut();
        SCOPED_TRACE(testing::Message() << "power cut before change " << point << " of " << changes << ": "
                                        << station.files.Hit());
        check(after ? *after : *station.disk.AfterPowerCut(), station);
    }
    return changes + 1;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Whether some file of the archive named name holds bytes.
bool Archived(const MemoryFileSystem& disk, const std::string& name, const std::string& bytes) {
    for (const auto& [path, held] : disk.FilesUnder(kArchive))
        if (EndsWith(path, "\\" + name) && held == bytes) return true;
    return false;
}

bool AnyFolderLooksImported(const MemoryFileSystem& disk) {
    for (const auto& [path, held] : disk.FilesUnder(kArchive)) {
        const std::string folder = path.substr(0, path.find('\\'));
        if (!EndsWith(folder, std::string(CountArchive::kNotImported))) return true;
    }
    return false;
}

struct ImportCase {
    const char* name;
    std::optional<std::string> oldCount;  // the count file before the import
    bool hostHoldsCount = false;          // open, sharing reading and writing but not deletion
    bool earlierCountLeft = false;        // an inwin.txt that an earlier import never imported
    bool scannerHoldsNewCount = false;    // for 1.5 s after the driver leaves it
    std::uint64_t sparseDiskRoom = 0;     // the count file's disk: this room, none reserved for a length
    bool succeeds = true;                 // without a failure beneath it
};

void PrintTo(const ImportCase& c, std::ostream* out) { *out << c.name; }

const ImportCase kImports[] = {
    {"OldCount", kOldCount},
    {"NoCountFileYet", std::nullopt},
    {"HostHoldsTheCountFile", kOldCount, true},
    {"EarlierCountLeftBehind", kOldCount, false, true},
    {"ScannerHoldsTheNewCount", kOldCount, false, false, true},
    // The old count and the new one beside it fit, the new one written in
    // place over the held file does not: the old bytes go back.
    {"HeldCountOnAFullSparseDisk", "INW;1;1000\r\n", true, false, false, 45, false},
};

class EveryFailurePoint : public testing::TestWithParam<ImportCase> {
protected:
    void SetUp(Station& station) const {
        const ImportCase& c = GetParam();
        if (c.oldCount) station.disk.Put(kCountFile, *c.oldCount);
        if (c.hostHoldsCount) station.disk.HoldFile(kCountFile, MemoryFileSystem::Hold::AgainstDeletion);
        if (c.earlierCountLeft) station.disk.Put(kTerminalData, kEarlierTerminalCount);
        if (c.sparseDiskRoom) station.disk.SetCapacity(kWork + "\\Dane", c.sparseDiskRoom, true);
        station.whenDriverRuns = [&station, c] {
            station.disk.Put(kTerminalData, kTerminalCount);
            if (c.scannerHoldsNewCount)
                station.disk.HoldFile(kTerminalData, MemoryFileSystem::Hold::Exclusive, station.time.milliseconds + 1500);
        };
    }

    // What must hold on a disk after anything: a count file old or whole new,
    // the old one kept, every terminal count kept, and no folder of the
    // archive that looks like an import where the count was not imported.
    testing::AssertionResult Safe(const MemoryFileSystem& disk, bool driverRan) const {
        const ImportCase& c = GetParam();
        const std::optional<std::string> count = disk.Get(kCountFile);
        if (count != c.oldCount && count != kNewCount)
            return testing::AssertionFailure() << "the count file holds \"" << count.value_or("(none)") << "\"";
        if (count == kNewCount && c.oldCount && !Archived(disk, "remanent.txt", *c.oldCount))
            return testing::AssertionFailure() << "the old count was replaced and is nowhere";
        if (driverRan && disk.Get(kTerminalData) != kTerminalCount && !Archived(disk, "inwin.txt", kTerminalCount))
            return testing::AssertionFailure() << "the terminal's count is nowhere";
        if (c.earlierCountLeft && disk.Get(kTerminalData) != kEarlierTerminalCount &&
            !Archived(disk, "inwin.txt", kEarlierTerminalCount))
            return testing::AssertionFailure() << "the earlier terminal count is nowhere";
        if (count != kNewCount && AnyFolderLooksImported(disk))
            return testing::AssertionFailure() << "an archive folder looks imported, the count file is not";
        return testing::AssertionSuccess();
    }
};

TEST_P(EveryFailurePoint, ImportWithoutAFailureGivesTheNewCountOrKeepsTheOld) {
    Station station;
    SetUp(station);
    const Outcome outcome = station.Run(&ImportStockCount, kCountFile);
    EXPECT_TRUE(Safe(station.disk, station.driverRan));
    if (GetParam().succeeds) {
        EXPECT_FALSE(outcome.raised) << outcome.message;
        EXPECT_EQ(outcome.result, 1);
        EXPECT_EQ(station.disk.Get(kCountFile), kNewCount);
    } else {
        EXPECT_EQ(outcome.message, "Cannot write file " + kCountFile);
        EXPECT_EQ(station.disk.Get(kCountFile), GetParam().oldCount);
    }
}

TEST_P(EveryFailurePoint, ImportWithAnyCallFailingIsSafeAndNeverASuccess) {
    Station counting;
    SetUp(counting);
    counting.Run(&ImportStockCount, kCountFile);
    const std::size_t points = counting.files.Calls();
    ASSERT_GT(points, 20u);
    for (std::size_t point = 1; point <= points; ++point) {
        Station station;
        SetUp(station);
        station.files.FailAt(point);
        const Outcome outcome = station.Run(&ImportStockCount, kCountFile);
        SCOPED_TRACE(testing::Message() << "call " << point << " of " << points << " failing: " << station.files.Hit()
                                        << "; " << (outcome.raised ? outcome.message : "result " + std::to_string(outcome.result)));
        EXPECT_TRUE(Safe(station.disk, station.driverRan));
        if (!outcome.raised && outcome.result == 1) {
            EXPECT_EQ(station.disk.Get(kCountFile), kNewCount) << "result 1, the count file not replaced";
            EXPECT_TRUE(Archived(station.disk, "inwin.txt", kTerminalCount));
        }
    }
    std::cout << "[ points   ] import " << GetParam().name << ": " << points << " calls, each failing in turn\n";
}

TEST_P(EveryFailurePoint, ImportWithThePowerCutAnywhereLeavesItSafe) {
    const std::size_t points =
        ForEveryPowerCut([this](Station& station) { SetUp(station); }, &ImportStockCount, kCountFile,
                         [this](const MemoryFileSystem& disk, const Station& station) {
                             EXPECT_TRUE(Safe(disk, station.driverRan));
                         });
    std::cout << "[ points   ] import " << GetParam().name << ": " << points << " points for a power cut\n";
}

INSTANTIATE_TEST_SUITE_P(, EveryFailurePoint, testing::ValuesIn(kImports),
                         [](const testing::TestParamInfo<ImportCase>& info) { return std::string(info.param.name); });

struct ExportCase {
    const char* name;
    std::optional<std::string> oldLookup;
};

void PrintTo(const ExportCase& c, std::ostream* out) { *out << c.name; }

const ExportCase kExports[] = {{"OldLookupFile", "old,1,1.000,0,1.00\r\n"}, {"NoLookupFileYet", std::nullopt}};

class EveryExportFailurePoint : public testing::TestWithParam<ExportCase> {
protected:
    void SetUp(Station& station) const {
        station.disk.Put(kGoodsFile, kGoods);
        if (GetParam().oldLookup) station.disk.Put(kLookupFile, *GetParam().oldLookup);
        station.whenDriverRuns = [&station] { station.terminalLoadedWith = station.disk.Get(kLookupFile); };
    }
    testing::AssertionResult Safe(const MemoryFileSystem& disk, const Station& station) const {
        const std::optional<std::string> lookup = disk.Get(kLookupFile);
        if (lookup != GetParam().oldLookup && lookup != kNewLookup)
            return testing::AssertionFailure() << "the lookup file holds \"" << lookup.value_or("(none)") << "\"";
        if (station.driverRan && station.terminalLoadedWith != kNewLookup)
            return testing::AssertionFailure() << "the terminal was loaded from \""
                                               << station.terminalLoadedWith.value_or("(none)") << "\"";
        if (disk.Get(kGoodsFile) != kGoods) return testing::AssertionFailure() << "the goods file changed";
        return testing::AssertionSuccess();
    }
};

TEST_P(EveryExportFailurePoint, WithAnyCallFailingTheTerminalGetsTheWholeFileOrNothing) {
    Station counting;
    SetUp(counting);
    ASSERT_EQ(counting.Run(&ExportGoods, kGoodsFile).result, 1);
    ASSERT_EQ(counting.terminalLoadedWith, kNewLookup);
    const std::size_t points = counting.files.Calls();
    for (std::size_t point = 1; point <= points; ++point) {
        Station station;
        SetUp(station);
        station.files.FailAt(point);
        const Outcome outcome = station.Run(&ExportGoods, kGoodsFile);
        SCOPED_TRACE(testing::Message() << "call " << point << " of " << points << " failing: " << station.files.Hit());
        EXPECT_TRUE(Safe(station.disk, station));
        if (!outcome.raised && outcome.result == 1) {
            EXPECT_TRUE(station.driverRan);
        }
    }
    std::cout << "[ points   ] export " << GetParam().name << ": " << points << " calls, each failing in turn\n";
}

TEST_P(EveryExportFailurePoint, WithThePowerCutAnywhereTheLookupFileIsOldOrNew) {
    const std::size_t points =
        ForEveryPowerCut([this](Station& station) { SetUp(station); }, &ExportGoods, kGoodsFile,
                         [this](const MemoryFileSystem& disk, const Station& station) {
                             EXPECT_TRUE(Safe(disk, station));
                         });
    std::cout << "[ points   ] export " << GetParam().name << ": " << points << " points for a power cut\n";
}

INSTANTIATE_TEST_SUITE_P(, EveryExportFailurePoint, testing::ValuesIn(kExports),
                         [](const testing::TestParamInfo<ExportCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace iwv::test
