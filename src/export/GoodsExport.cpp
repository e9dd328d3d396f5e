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
    return operation.Journaled([&]() -> std::int32_t {
        const std::optional<DriverSettings> settings = operation.Start();
        if (!settings) return 0;
        const LookupConverter converter{settings->NameLength, settings->PriceLevel};
        operation.Journal().Lines(converter.Convert(operation.Files(), operation.DataPath(),
                                                    WorkFilePath(operation.WorkDirectory(), "inwout.txt")));

        const DriverRun run = operation.RunDriver(*settings, kStartFailure.c_str());
        return run.end == DriverEnd::Ended ? 1 : 0;
    });
}

}  // namespace iwv
