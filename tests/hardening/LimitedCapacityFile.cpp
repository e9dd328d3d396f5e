#include "LimitedCapacityFile.h"

#include <algorithm>
#include <memory>

namespace iwv::test {
namespace {

using platform::ReplacementFile;

class LimitedCapacityFile final : public ReplacementFile {
public:
    LimitedCapacityFile(std::unique_ptr<ReplacementFile> real, std::size_t capacity)
        : real_(std::move(real)), room_(capacity) {}

    bool Write(const char* data, std::size_t size) override {
        const std::size_t fits = std::min(size, room_);
        room_ -= fits;
        const bool written = fits == 0 || real_->Write(data, fits);
        return written && fits == size;
    }
    Status Commit() override { return real_->Commit(); }

private:
    std::unique_ptr<ReplacementFile> real_;
    std::size_t room_;
};

}  // namespace

ReplacementFile::Opener LimitedCapacityOpener(std::size_t capacity) {
    return [capacity](const std::string& target, std::unique_ptr<ReplacementFile>& file) {
        std::unique_ptr<ReplacementFile> real;
        const ReplacementFile::Status status = ReplacementFile::Open(target, real);
        if (status == ReplacementFile::Status::Ok) file = std::make_unique<LimitedCapacityFile>(std::move(real), capacity);
        return status;
    };
}

}  // namespace iwv::test
