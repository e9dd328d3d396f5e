#include "export/GoodsExport.h"

#include "common/Texts.h"
#include "driver/Operation.h"
#include "driver/WorkDirectory.h"
#include "export/LookupConverter.h"

namespace iwv {

std::int32_t ExportGoods(const LibraryInstance& instance, HostWord callContext, const char* dataPath,
                         const OperationServices& services) {
    Operation operation(instance, callContext, services, DriverKind::Export, dataPath);
    return operation.Journaled([&]() -> std::int32_t {
        const std::optional<DriverSettings> settings = operation.Start();
        if (!settings) return 0;
        const LookupConverter converter{settings->NameLength, settings->PriceLevel};
        converter.Convert(operation.Files(), operation.DataPath(), WorkFilePath(operation.WorkDirectory(), "inwout.txt"),
                          operation.Journal().Lines());

        const DriverRun run = operation.RunDriver(*settings, text::kExportStartFailure.c_str());
        return run.end == DriverEnd::Ended ? 1 : 0;
    });
}

}  // namespace iwv
