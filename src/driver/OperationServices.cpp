#include "driver/OperationServices.h"

namespace iwv {

OperationServices OperationServices::System() {
    return OperationServices{&platform::SleepMilliseconds, &platform::MonotonicMilliseconds, &platform::LocalNow,
                             &platform::DriverProcess::Start, &platform::SystemFileSystem()};
}

}  // namespace iwv
