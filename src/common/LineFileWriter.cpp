#include "common/LineFileWriter.h"

#include "common/Error.h"
#include "common/Texts.h"

namespace iwv {

LineFileWriter::LineFileWriter(platform::FileSystem& files, ReplacementTarget target)
    : files_(files), target_(std::move(target)), block_(new char[kRoom]) {}

LineFileWriter::~LineFileWriter() = default;

// Bytes that do not fit beside what the block holds: the block goes first,
// then bytes of a block or more go straight to the file.
void LineFileWriter::AppendLong(std::string_view bytes) {
    Flush();
    if (bytes.size() < kBlockBytes) {
        Append(bytes);
        return;
    }
    File().Write(bytes.data(), bytes.size());
}

void LineFileWriter::Oversized() const {
    throw Error(std::string(text::kCannotWrite) + target_.path);
}

void LineFileWriter::Flush() {
    if (used_ > 0) File().Write(block_.get(), used_);
    used_ = 0;
}

void LineFileWriter::Commit() {
    Flush();
    File().Commit();
}

ReplacementFile& LineFileWriter::File() {
    if (!file_) file_.emplace(files_, target_);
    return *file_;
}

}  // namespace iwv
