#pragma once

#include "driver/DriverSettings.h"
#include "plugin/HostCallbacks.h"

namespace iwv {

// How every export and import begins: the host's parameters are resolved, the
// operator is shown "\nTransakcja w toku ..." and the dock gets a second to
// settle before any file is touched.
DriverSettings StartOperation(DriverKind kind, HostCallbacks& host);

}  // namespace iwv
