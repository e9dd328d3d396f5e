#include "common/FileCopy.h"

#include <memory>
#include <vector>

namespace iwv {

CopyFailure CopyRest(platform::ReadableFile& from, platform::WritableFile& to) {
    std::vector<char> block(platform::kFileBlockBytes);
    for (;;) {
        std::size_t read = 0;
        if (const platform::SystemError error = from.Read(block.data(), block.size(), read)) return {error, true};
        if (read == 0) return {};
        if (const platform::SystemError error = to.Write(block.data(), read)) return {error, false};
    }
}

CopyFailure CopyToNewFile(platform::FileSystem& files, const std::string& from, const std::string& to,
                          platform::FileSystem::Sharing sharing) {
    std::unique_ptr<platform::ReadableFile> source;
    if (const platform::SystemError error = files.OpenForReading(from, sharing, source)) return {error, true};
    std::unique_ptr<platform::WritableFile> copy;
    if (const platform::SystemError error = files.CreateNew(to, copy)) return {error, false};
    CopyFailure failure = CopyRest(*source, *copy);
    if (!failure) failure.error = copy->Flush();
    if (!failure) failure.error = copy->Close();
    if (failure) {
        copy.reset();
        files.Remove(to);
    }
    return failure;
}

}  // namespace iwv
