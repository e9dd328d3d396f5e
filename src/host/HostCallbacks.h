#pragma once

#include <string>

#include "host/LibraryInstance.h"

namespace iwv {

// The host's callbacks as one export or import call sees them: every call
// passes the instance's HostContext and the call's CallContext. A callback the
// host never registered is skipped (a missing GetParameterValue answers the
// empty text), so a careless host cannot make the library call a null pointer.
class HostCallbacks {
public:
    HostCallbacks(const LibraryInstance& instance, HostWord callContext);

    void ShowStatus(const char* text) const;
    void ReportError(const char* text) const;
    // Asks the host for the value of key; the text up to the first NUL. The
    // buffer is shared by every key of the call and not cleared between them.
    std::string GetParameterValue(const char* key);

private:
    const LibraryInstance& instance_;
    HostWord callContext_;
    char value_[IWV_VALUE_BUFFER_SIZE] = {};
};

}  // namespace iwv
