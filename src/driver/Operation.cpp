#include "driver/Operation.h"

#include "common/Cp1250.h"
#include "driver/ConnectionError.h"

namespace iwv {
namespace {

constexpr auto kTransactionStatus = Cp1250("\nTransakcja w toku ...");
constexpr unsigned kSettleMilliseconds = 1000;

}  // namespace

Operation::Operation(const LibraryInstance& instance, HostWord callContext, const OperationServices& services)
    : host_(instance, callContext), services_(services) {}

DriverSettings Operation::Start(DriverKind kind) {
    const DriverSettings settings =
        ResolveDriverSettings(kind, [this](const char* key) { return host_.GetParameterValue(key); });
    host_.ShowStatus(kTransactionStatus.c_str());
    Pause(kSettleMilliseconds);
    return settings;
}

DriverRun Operation::RunDriver(const DriverSettings& settings, const std::string& workDirectory,
                               const char* startFailureText) {
    const DriverRun run = DriverRunner(services_).Run(settings.CommandLine, settings.TimeoutTicks, workDirectory);
    if (run.end == DriverEnd::CouldNotStart) host_.ReportError(startFailureText);
    if (run.end == DriverEnd::TimedOut) throw ConnectionError();
    return run;
}

}  // namespace iwv
