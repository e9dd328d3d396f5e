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

}  // namespace iwv
