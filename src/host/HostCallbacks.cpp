#include "host/HostCallbacks.h"

namespace iwv {

HostCallbacks::HostCallbacks(const LibraryInstance& instance, HostWord callContext)
    : instance_(instance), callContext_(callContext) {}

void HostCallbacks::ShowStatus(const char* text) const {
    if (instance_.ShowStatus) instance_.ShowStatus(instance_.HostContext, callContext_, text);
}

void HostCallbacks::ReportError(const char* text) const {
    if (instance_.ReportError) instance_.ReportError(instance_.HostContext, callContext_, text);
}

std::string HostCallbacks::GetParameterValue(const char* key) {
    if (!instance_.GetParameterValue) return std::string();
    instance_.GetParameterValue(instance_.HostContext, callContext_, key, value_);
    // A host that writes no NUL, or fills all 300 bytes, must not make the
    // library read past the buffer.
    value_[IWV_VALUE_BUFFER_SIZE - 1] = '\0';
    return std::string(value_);
}

}  // namespace iwv
