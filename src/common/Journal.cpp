#include "common/Journal.h"

#include <memory>

namespace iwv {

bool Journal::Append(std::string_view entry) const {
    if (entry.size() > Bound()) return false;
    platform::FileStatus status;
    if (files_.Status(path_, status) || status.size == 0 || status.size + entry.size() <= limit_) return Write(entry);
    if (!files_.Rename(path_, OlderPath())) return Write(entry);
    if (status.size + entry.size() <= Bound()) return Write(entry);
    return Empty() && Write(entry);
}

bool Journal::Write(std::string_view entry) const {
    std::unique_ptr<platform::WritableFile> file;
    return !files_.OpenForAppending(path_, file) && !file->Write(entry.data(), entry.size()) && !file->Flush() &&
           !file->Close();
}

// Cut where it lies, so that whoever holds it open keeps a valid handle.
bool Journal::Empty() const {
    std::unique_ptr<platform::WritableFile> file;
    return !files_.OpenForOverwriting(path_, file) && !file->SetLength(0) && !file->Close();
}

}  // namespace iwv
