#include "plugin/HostText.h"

#include <algorithm>

namespace iwv {

void CopyToHost(std::string_view text, char* buffer) {
    if (buffer == nullptr) return;
    *std::copy(text.begin(), text.end(), buffer) = '\0';
}

}  // namespace iwv
