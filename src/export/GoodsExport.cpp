#include "export/GoodsExport.h"

#include "common/Cp1250.h"
#include "driver/Operation.h"
#include "driver/WorkDirectory.h"
#include "export/LookupConverter.h"

namespace iwv {

std::int32_t ExportGoods(const LibraryInstance& instance, HostWord callContext, const char* dataPath,
                         const OperationServices& services) {
    static constexpr auto kStartFailure = Cp1250("Błąd uruchomienia driver'a (dlookup.exe).");

    Operation operation(instance, callContext, services);
    const DriverSettings settings = operation.Start(DriverKind::Export);

    const std::string goodsFile = dataPath;
    const std::string workDirectory = DeriveWorkDirectory(goodsFile);
    LookupConverter converter;
    converter.NameLength = settings.NameLength;
    converter.PriceLevel = settings.PriceLevel;
    converter.Convert(goodsFile, WorkFilePath(workDirectory, "inwout.txt"), services.ReplaceFile);

    const DriverRun run = operation.RunDriver(settings, workDirectory, kStartFailure.c_str());
    return run.end == DriverEnd::Ended ? 1 : 0;
}

}  // namespace iwv
