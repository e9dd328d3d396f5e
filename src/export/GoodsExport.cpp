#include "export/GoodsExport.h"

#include "common/Cp1250.h"
#include "driver/DriverRunner.h"
#include "driver/DriverSettings.h"
#include "driver/WorkDirectory.h"
#include "export/LookupConverter.h"
#include "platform/Clock.h"
#include "plugin/HostCallbacks.h"
#include "plugin/OperationTexts.h"

namespace iwv {

std::int32_t ExportGoods(const LibraryInstance& instance, HostWord callContext, const char* dataPath) {
    static constexpr auto kStartFailure = Cp1250("Błąd uruchomienia driver'a (dlookup.exe).");

    HostCallbacks host(instance, callContext);
    const DriverSettings settings = ResolveDriverSettings(DriverKind::Export, host);

    host.ShowStatus(kTransactionStatus.c_str());
    platform::SleepMilliseconds(1000);

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
