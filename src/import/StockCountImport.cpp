#include "import/StockCountImport.h"

#include "common/Error.h"
#include "common/HeldFile.h"
#include "common/Texts.h"
#include "driver/Operation.h"
#include "driver/WorkDirectory.h"
#include "import/CountArchive.h"
#include "import/CountConverter.h"

namespace iwv {
namespace {

using platform::SystemError;
using Kind = SystemError::Kind;

// The operator needs a moment to start the transmission on the terminal.
constexpr unsigned kTransmissionMilliseconds = 2000;

// Whether something stands at the terminal data file's place. A folder of that
// name is no count, and keeps the driver from leaving one: the import stops.
bool TerminalDataThere(platform::FileSystem& files, const std::string& terminalDataFile, std::string_view failure) {
    platform::FileStatus status;
    const SystemError error = files.Status(terminalDataFile, status);
    if (error.Is(Kind::NotFound)) return false;
    if (error) throw Error(std::string(failure) + terminalDataFile, error);
    if (status.directory)
        throw Error(std::string(failure) + terminalDataFile, platform::SystemErrorOfKind(Kind::Denied));
    return true;
}

// A successful import moves the terminal's count into the archive, so one
// that is still here before the driver runs was never imported: it goes into
// the archive, marked so, where it is never taken for this import's count and
// never lost.
void SetAsideEarlierTerminalData(Operation& operation, const CountArchive& archive,
                                 const std::string& terminalDataFile) {
    if (!TerminalDataThere(operation.Files(), terminalDataFile, text::kCannotCreate)) return;
    CountArchive::Entry entry = archive.Begin(operation.StartedAt());
    try {
        entry.TakeTerminalData(terminalDataFile, operation.Services().Sleep);
    } catch (const Error& error) {
        throw Error(std::string(text::kCannotCreate) + terminalDataFile, error.Cause());
    }
    operation.Journal().Note(std::string(text::kEarlierCountSetAside) + entry.TerminalData());
}

// Whether the driver left a count: a file that is there but held by another
// program for a moment is waited for, never taken for no count.
bool TerminalDataArrived(Operation& operation, const std::string& terminalDataFile) {
    platform::FileSystem& files = operation.Files();
    if (!TerminalDataThere(files, terminalDataFile, text::kCannotOpen)) return false;
    operation.Journal().TerminalCountWaitsIn(terminalDataFile);
    const SystemError error = WhileHeld(operation.Services().Sleep, [&] {
        std::unique_ptr<platform::ReadableFile> file;
        return files.OpenForReading(terminalDataFile, platform::FileSystem::Sharing::RefuseWriters, file);
    });
    if (error) throw Error(std::string(text::kCannotOpen) + terminalDataFile, error);
    return true;
}

}  // namespace

std::int32_t ImportStockCount(const LibraryInstance& instance, HostWord callContext, const char* dataPath,
                              const OperationServices& services) {
    Operation operation(instance, callContext, services, DriverKind::Import, dataPath);
    return operation.Journaled([&]() -> std::int32_t {
        const std::optional<DriverSettings> settings = operation.Start();
        if (!settings) return 0;
        const std::string& countFile = operation.DataPath();
        const std::string terminalDataFile = WorkFilePath(operation.WorkDirectory(), "inwin.txt");
        const CountArchive archive(operation.Files(), operation.WorkDirectory());
        SetAsideEarlierTerminalData(operation, archive, terminalDataFile);
        operation.Pause(kTransmissionMilliseconds);

        if (operation.RunDriver(*settings, text::kImportStartFailure.c_str()).end != DriverEnd::Ended) return 0;
        if (!TerminalDataArrived(operation, terminalDataFile)) {
            operation.Journal().NoTerminalCount(terminalDataFile);
            return 1;
        }
        // Nothing of the count file changes before its old bytes and the
        // terminal's count are both in the archive and on disk.
        CountArchive::Entry entry = archive.Begin(operation.StartedAt());
        entry.KeepCount(countFile);
        entry.TakeTerminalData(terminalDataFile, services.Sleep);
        operation.Journal().TerminalCountWaitsIn(entry.TerminalData());
        CountConverter::Convert(operation.Files(), entry.TerminalData(),
                                ReplacementTarget{countFile, true, entry.KeptCount()}, operation.Journal().Lines());
        if (entry.MarkImported()) operation.Journal().Note(std::string(text::kStillMarkedNotImported) + entry.Folder());
        operation.Journal().TerminalCountImported(entry.TerminalData());
        archive.RemoveOldest();
        return 1;
    });
}

}  // namespace iwv
