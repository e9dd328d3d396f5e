#include "plugin/ParameterCatalogue.h"

#include "IWVestra.h"
#include "driver/Parameters.h"
#include "plugin/HostText.h"

namespace iwv {

std::int32_t DescribeParameter(std::int32_t group, std::uint32_t index, char* key, char* caption,
                               char* defaultValue, char* fourth, char* fifth) {
    if (group != IWV_PARAMETER_GROUP || index >= Parameters().size()) return 0;
    const Parameter& parameter = Parameters()[index];
    CopyToHost(parameter.key, key);
    CopyToHost(parameter.caption, caption);
    CopyToHost(parameter.Default().text, defaultValue);
    CopyToHost({}, fourth);
    CopyToHost({}, fifth);
    return IWV_PARAMETER_DESCRIBED;
}

std::int32_t CopyListEntry(const char* key, std::uint32_t index, char* buffer) {
    if (key == nullptr) return 0;
    const Parameter* parameter = FindParameter(key);
    if (parameter == nullptr || index >= parameter->entryCount) return 0;
    CopyToHost(parameter->entries[index].text, buffer);
    return 1;
}

}  // namespace iwv
