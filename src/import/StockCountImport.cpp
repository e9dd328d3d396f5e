#include "import/StockCountImport.h"

#include "common/Cp1250.h"
#include "common/Error.h"
#include "driver/Operation.h"
#include "driver/WorkDirectory.h"
#include "import/CountArchive.h"
#include "import/CountConverter.h"
#include "platform/FileSystem.h"

namespace iwv {
namespace {

// Keeps copies of the count file as it was and of the terminal's count before
// the one replaces the other. False when the count file is there and could
// not be copied: it must not be replaced then, since nothing else keeps it.
// The terminal's count is archived whatever became of the count file's copy;
// the journal says what was kept where.
bool Archive(Operation& operation, const std::string& terminalDataFile) {
    if (operation.WorkDirectory().empty()) return true;
    const CountArchive archive(operation.WorkDirectory());
    const CountArchive::Stored stored = archive.Store(operation.StartedAt(), operation.DataPath(), terminalDataFile);
    if (!stored.countKept) {
        operation.Journal().Note("the count could not be archived in " + archive.Path());
        return false;
    }
    operation.Journal().Note(stored.terminalDataKept ? "archived in " + stored.directory
                                                     : "the count could not be archived in " + archive.Path());
    return true;
}

}  // namespace

std::int32_t ImportStockCount(const LibraryInstance& instance, HostWord callContext, const char* dataPath,
                              const OperationServices& services) {
    static constexpr auto kStartFailure = Cp1250("Błąd uruchomienia driver'a (232_read.exe).");
    // The operator needs a moment to start the transmission on the terminal.
    static constexpr unsigned kTransmissionMilliseconds = 2000;

    Operation operation(instance, callContext, services, DriverKind::Import, dataPath);
    return operation.Journaled([&] {
        const DriverSettings settings = operation.Start();
        const std::string& countFile = operation.DataPath();
        const std::string terminalDataFile = WorkFilePath(operation.WorkDirectory(), "inwin.txt");
        // A count left by an earlier import must never be taken for this
        // one's: one that cannot be deleted would be converted again if the
        // driver sent nothing, so the import stops before the driver runs.
        if (!platform::RemoveFile(terminalDataFile) && platform::PathExists(terminalDataFile))
            throw Error("Cannot create file " + terminalDataFile);
        operation.Pause(kTransmissionMilliseconds);

        if (operation.RunDriver(settings, kStartFailure.c_str()).end != DriverEnd::Ended) return 0;
        if (!platform::FileCanBeOpenedForReading(terminalDataFile)) {
            operation.Journal().Note("the driver left no " + terminalDataFile + "; the count file is unchanged");
            return 1;
        }
        // The error a count file that cannot be read gives; the terminal's
        // count stays in the work directory for another try.
        if (!Archive(operation, terminalDataFile)) throw Error("Cannot open file " + countFile);
        operation.Journal().Lines(CountConverter::Convert(terminalDataFile, countFile, services.ReplaceHostFile));
        return 1;
    });
}

}  // namespace iwv
