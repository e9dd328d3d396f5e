#include "host/LibraryInstance.h"

namespace iwv {

void RegisterCallback(LibraryInstance& instance, void* function, int kind) {
    switch (kind) {
        case IWV_CALLBACK_SHOW_STATUS:
            instance.ShowStatus = reinterpret_cast<IWV_ShowStatus>(function);
            break;
        case IWV_CALLBACK_GET_PARAMETER_VALUE:
            instance.GetParameterValue = reinterpret_cast<IWV_GetParameterValue>(function);
            break;
        case IWV_CALLBACK_REPORT_ERROR:
            instance.ReportError = reinterpret_cast<IWV_ReportError>(function);
            break;
        default:
            break;
    }
}

}  // namespace iwv
