#include "import/StockCountImport.h"

#include "common/Cp1250.h"
#include "driver/DriverRunner.h"
#include "driver/OperationStart.h"
#include "driver/WorkDirectory.h"
#include "import/CountConverter.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "plugin/HostCallbacks.h"

namespace iwv {

std::int32_t ImportStockCount(const LibraryInstance& instance, HostWord callContext, const char* dataPath) {
    static constexpr auto kStartFailure = Cp1250("Błąd uruchomienia driver'a (232_read.exe).");

    HostCallbacks host(instance, callContext);
    const DriverSettings settings = StartOperation(DriverKind::Import, host);

    const std::string countFile = dataPath;
    const std::string workDirectory = DeriveWorkDirectory(countFile);
    const std::string terminalDataFile = WorkFilePath(workDirectory, "inwin.txt");
    // A count left by an earlier import must never be taken for this one's.
    platform::RemoveFile(terminalDataFile);
    // The operator needs a moment to start the transmission on the terminal.
    platform::SleepMilliseconds(2000);

    if (!DriverRunner().Run(settings.CommandLine, settings.TimeoutTicks, workDirectory, kStartFailure.c_str(),
                            host))
        return 0;
    if (platform::FileCanBeOpenedForReading(terminalDataFile)) CountConverter::Convert(terminalDataFile, countFile);
    return 1;
}

}  // namespace iwv
