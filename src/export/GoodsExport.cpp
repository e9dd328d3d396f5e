#include "export/GoodsExport.h"

#include "common/Cp1250.h"
#include "driver/Operation.h"
#include "driver/WorkDirectory.h"
#include "export/LookupConverter.h"

namespace iwv {

std::int32_t ExportGoods(const LibraryInstance& instance, HostWord callContext, const char* dataPath,
                         const OperationServices& services) {
    static constexpr auto kStartFailure = Cp1250("Błąd uruchomienia driver'a (dlookup.exe).");

    Operation operation(instance, callContext, services, DriverKind::Export, dataPath);
    return operation.Journaled([&] {
        const DriverSettings settings = operation.Start();
        const LookupConverter converter{settings.NameLength, settings.PriceLevel};
        operation.Journal().Lines(converter.Convert(
            operation.DataPath(), WorkFilePath(operation.WorkDirectory(), "inwout.txt"), services.ReplaceFile));

        const DriverRun run = operation.RunDriver(settings, kStartFailure.c_str());
        return run.end == DriverEnd::Ended ? 1 : 0;
    });
}

}  // namespace iwv
