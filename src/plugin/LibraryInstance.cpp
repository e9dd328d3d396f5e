#include "plugin/LibraryInstance.h"

namespace iwv {

void RegisterCallback(LibraryInstance& instance, void* function, std::int32_t kind) {
    switch (kind) {
        case kShowStatusKind:
            instance.ShowStatus = reinterpret_cast<ShowStatusCallback>(function);
            break;
        case kGetParameterValueKind:
            instance.GetParameterValue = reinterpret_cast<GetParameterValueCallback>(function);
            break;
        case kReportErrorKind:
            instance.ReportError = reinterpret_cast<ReportErrorCallback>(function);
            break;
        default:
            break;
    }
}

}  // namespace iwv
