#include "common/LineFileReader.h"

#include "common/Error.h"
#include "common/Texts.h"

namespace iwv {

LineFileReader::LineFileReader(platform::FileSystem& files, std::string path) : path_(std::move(path)) {
    if (const platform::SystemError error =
            files.OpenForReading(path_, platform::FileSystem::Sharing::RefuseWriters, file_))
        throw Error(std::string(text::kCannotOpen) + path_, error);
    // Zeroed once, so that the slack past any block is always readable.
    block_.reset(new char[kBlockBytes + kSlack]());
}

LineFileReader::~LineFileReader() = default;

std::string_view LineFileReader::NextBlock() {
    std::size_t read = 0;
    // A read that fails part-way gives the error of a file that cannot be
    // opened: either way the conversion ends before its output replaces
    // anything.
    if (const platform::SystemError error = file_->Read(block_.get(), kBlockBytes, read))
        throw Error(std::string(text::kCannotOpen) + path_, error);
    return {block_.get(), read};
}

std::string_view LineFileReader::ReadBack(std::uint64_t offset, std::uint64_t most) {
    if (!readBack_) readBack_.reset(new char[kBlockBytes]);
    std::size_t read = 0;
    const std::size_t want = most < kBlockBytes ? static_cast<std::size_t>(most) : kBlockBytes;
    // The file is read consistently: bytes read once that cannot be read
    // again mean it failed.
    const platform::SystemError error = file_->ReadAt(offset, readBack_.get(), want, read);
    if (error || read == 0) throw Error(std::string(text::kCannotOpen) + path_, error);
    return {readBack_.get(), read};
}

}  // namespace iwv
