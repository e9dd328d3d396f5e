#include "common/LineFileWriter.h"

#include <cstring>

#include "common/Error.h"

namespace iwv {
namespace {

// Big enough that writes cost little per byte, small enough to stay in cache.
constexpr std::size_t kChunk = 1 << 16;

}  // namespace

LineFileWriter::LineFileWriter(std::string path, const platform::ReplacementFile::Opener& open)
    : path_(std::move(path)) {
    if (open(path_, file_) != platform::ReplacementFile::Status::Ok || !file_)
        throw Error("Cannot create file " + path_);
    buffer_.reset(new char[kChunk]);
}

LineFileWriter::~LineFileWriter() = default;

void LineFileWriter::Append(std::string_view line) {
    Put(line.data(), line.size());
    Put("\r\n", 2);
}

void LineFileWriter::Put(const char* data, std::size_t size) {
    if (used_ + size > kChunk) Flush();
    if (size > kChunk) {
        written_ = written_ && file_->Write(data, size);
        return;
    }
    std::memcpy(buffer_.get() + used_, data, size);
    used_ += size;
}

void LineFileWriter::Flush() {
    written_ = written_ && (used_ == 0 || file_->Write(buffer_.get(), used_));
    used_ = 0;
}

void LineFileWriter::Commit() {
    using Status = platform::ReplacementFile::Status;
    Flush();
    if (!written_) throw Error("Cannot write file " + path_);
    switch (file_->Commit()) {
        case Status::Ok: return;
        case Status::CannotCreate: throw Error("Cannot create file " + path_);
        case Status::CannotWrite: throw Error("Cannot write file " + path_);
    }
}

}  // namespace iwv
