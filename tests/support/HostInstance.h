#pragma once

#include "host/LibraryInstance.h"
#include "support/RecordingHost.h"

namespace iwv::test {

// An instance with all three of host's callbacks registered, as the library's
// own code receives it from the exports.
inline LibraryInstance InstanceOf(RecordingHost& host) {
    LibraryInstance instance;
    instance.ShowStatus = &RecordingHost::ShowStatus;
    instance.GetParameterValue = &RecordingHost::GetParameterValue;
    instance.ReportError = &RecordingHost::ReportError;
    instance.HostContext = host.Context();
    return instance;
}

}  // namespace iwv::test
