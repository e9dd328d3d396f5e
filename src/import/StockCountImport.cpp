#include "import/StockCountImport.h"

#include "common/Cp1250.h"
#include "driver/Operation.h"
#include "driver/WorkDirectory.h"
#include "import/CountConverter.h"
#include "platform/FileSystem.h"

namespace iwv {

std::int32_t ImportStockCount(const LibraryInstance& instance, HostWord callContext, const char* dataPath,
                              const OperationServices& services) {
    static constexpr auto kStartFailure = Cp1250("Błąd uruchomienia driver'a (232_read.exe).");
    // The operator needs a moment to start the transmission on the terminal.
    static constexpr unsigned kTransmissionMilliseconds = 2000;

    Operation operation(instance, callContext, services);
    const DriverSettings settings = operation.Start(DriverKind::Import);

    const std::string countFile = dataPath;
    const std::string workDirectory = DeriveWorkDirectory(countFile);
    const std::string terminalDataFile = WorkFilePath(workDirectory, "inwin.txt");
    // A count left by an earlier import must never be taken for this one's.
    platform::RemoveFile(terminalDataFile);
    operation.Pause(kTransmissionMilliseconds);

    if (operation.RunDriver(settings, workDirectory, kStartFailure.c_str()).end != DriverEnd::Ended) return 0;
    if (platform::FileCanBeOpenedForReading(terminalDataFile))
        CountConverter::Convert(terminalDataFile, countFile, services.ReplaceFile);
    return 1;
}

}  // namespace iwv
