#include "export/GoodsExport.h"

#include "common/Cp1250.h"
#include "driver/DriverRunner.h"
#include "driver/OperationStart.h"
#include "driver/WorkDirectory.h"
#include "export/LookupConverter.h"
#include "plugin/HostCallbacks.h"

namespace iwv {

std::int32_t ExportGoods(const LibraryInstance& instance, HostWord callContext, const char* dataPath) {
    static constexpr auto kStartFailure = Cp1250("Błąd uruchomienia driver'a (dlookup.exe).");

    HostCallbacks host(instance, callContext);
    const DriverSettings settings = StartOperation(DriverKind::Export, host);

    const std::string goodsFile = dataPath;
    const std::string workDirectory = DeriveWorkDirectory(goodsFile);
    LookupConverter converter;
    converter.NameLength = settings.NameLength;
    converter.PriceLevel = settings.PriceLevel;
    converter.Convert(goodsFile, WorkFilePath(workDirectory, "inwout.txt"));

    const bool ended = DriverRunner().Run(settings.CommandLine, settings.TimeoutTicks, workDirectory,
                                          kStartFailure.c_str(), host);
    return ended ? 1 : 0;
}

}  // namespace iwv
