#include "common/LineFileWriter.h"

#include "common/Error.h"

namespace iwv {

LineFileWriter::LineFileWriter(std::string path, const platform::ReplacementFile::Opener& open)
    : path_(std::move(path)) {
    if (open(path_, file_) != platform::ReplacementFile::Status::Ok || !file_)
        throw Error("Cannot create file " + path_);
    block_.reset(new char[kBlockBytes]);
}

LineFileWriter::~LineFileWriter() = default;

// Bytes that do not fit beside what the block holds: the block goes first,
// then bytes of a block or more go straight to the file.
void LineFileWriter::AppendLong(std::string_view bytes) {
    Flush();
    if (bytes.size() < kBlockBytes) {
        Append(bytes);
        return;
    }
    written_ = written_ && file_->Write(bytes.data(), bytes.size());
}

void LineFileWriter::Flush() {
    written_ = written_ && (used_ == 0 || file_->Write(block_.get(), used_));
    used_ = 0;
}

void LineFileWriter::Commit() {
    using Status = platform::ReplacementFile::Status;
    Flush();
    if (!written_) throw Error("Cannot write file " + path_);
    const Status status = file_->Commit();
    if (status == Status::Ok) return;
    // The target may hold neither the old bytes nor the new ones: whoever
    // mends it needs to know where the new ones are.
    const std::string kept = file_->KeptCopy();
    throw Error((status == Status::CannotCreate ? "Cannot create file " : "Cannot write file ") + path_ +
                (kept.empty() ? std::string() : "; the complete new file is kept in " + kept));
}

}  // namespace iwv
