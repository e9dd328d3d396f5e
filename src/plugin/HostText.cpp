#include "plugin/HostText.h"

#include <cstring>

namespace iwv {

void CopyToHost(std::string_view text, char* buffer) {
    if (buffer == nullptr) return;
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
}

}  // namespace iwv
