#include "driver/OperationStart.h"

#include "common/Cp1250.h"
#include "platform/Clock.h"

namespace iwv {

DriverSettings StartOperation(DriverKind kind, HostCallbacks& host) {
    static constexpr auto kTransactionStatus = Cp1250("\nTransakcja w toku ...");
    static constexpr unsigned kSettleMilliseconds = 1000;

    const DriverSettings settings = ResolveDriverSettings(kind, host);
    host.ShowStatus(kTransactionStatus.c_str());
    platform::SleepMilliseconds(kSettleMilliseconds);
    return settings;
}

}  // namespace iwv
