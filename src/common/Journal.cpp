#include "common/Journal.h"

#include "platform/FileSystem.h"

namespace iwv {

bool Journal::Append(std::string_view entry) const {
    std::uint64_t size = 0;
    if (platform::FileSize(path_, size) && size > 0 && size + entry.size() > limit_)
        platform::RenameReplacing(path_, OlderPath());
    return platform::AppendToFile(path_, entry.data(), entry.size());
}

}  // namespace iwv
