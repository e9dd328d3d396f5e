#include "common/LineFileReader.h"

#include "common/Error.h"

namespace iwv {

LineFileReader::LineFileReader(std::string path)
    : path_(std::move(path)), file_(platform::InputFile::Open(path_)) {
    if (!file_) throw Error("Cannot open file " + path_);
    block_.reset(new char[kBlockBytes]);
}

LineFileReader::~LineFileReader() = default;

std::string_view LineFileReader::NextBlock() {
    std::size_t read = 0;
    // A read that fails part-way gives the error of a file that cannot be
    // opened: either way the conversion ends before its output replaces
    // anything.
    if (!file_->Read(block_.get(), kBlockBytes, read)) throw Error("Cannot open file " + path_);
    return {block_.get(), read};
}

std::string_view LineFileReader::ReadBack(std::uint64_t offset, std::uint64_t most) {
    if (!readBack_) readBack_.reset(new char[kBlockBytes]);
    std::size_t read = 0;
    const std::size_t want = most < kBlockBytes ? static_cast<std::size_t>(most) : kBlockBytes;
    // The file is read consistently: bytes read once that cannot be read
    // again mean it failed.
    if (!file_->ReadAt(offset, readBack_.get(), want, read) || read == 0) throw Error("Cannot open file " + path_);
    return {readBack_.get(), read};
}

}  // namespace iwv
