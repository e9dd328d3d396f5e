#pragma once

#include <string>

#include "driver/DriverRunner.h"
#include "driver/DriverSettings.h"
#include "driver/OperationServices.h"
#include "host/HostCallbacks.h"

namespace iwv {

// One export or import call as the host sees it: its callbacks, the start
// that both operations share, and the one place where a driver's end becomes
// the host's result or error.
class Operation {
public:
    Operation(const LibraryInstance& instance, HostWord callContext, const OperationServices& services);

    // Resolves the host's parameters, shows the operator
    // "\nTransakcja w toku ..." and gives the dock a second to settle before
    // any file is touched.
    DriverSettings Start(DriverKind kind);

    // Runs the driver in workDirectory. A driver that could not be started is
    // reported through ReportError with startFailureText (the run then says
    // CouldNotStart); one still running at its time-out has been killed and
    // ends the call with ConnectionError.
    DriverRun RunDriver(const DriverSettings& settings, const std::string& workDirectory,
                        const char* startFailureText);

    void Pause(unsigned milliseconds) const { services_.Sleep(milliseconds); }
    const OperationServices& Services() const { return services_; }

private:
    HostCallbacks host_;
    const OperationServices& services_;
};

}  // namespace iwv
