#include "common/ReplacementFile.h"

#include <cstdio>
#include <random>

#include "common/Error.h"
#include "common/FileCopy.h"
#include "common/PathText.h"
#include "common/Texts.h"

namespace iwv {
namespace {

using platform::SystemError;
using Kind = SystemError::Kind;

constexpr const char* kCannotCreate = text::kCannotCreate.c_str();
constexpr const char* kCannotWrite = text::kCannotWrite.c_str();
constexpr int kNameAttempts = 16;
constexpr int kRestoreAttempts = 3;

}  // namespace

ReplacementFile::ReplacementFile(platform::FileSystem& files, ReplacementTarget target)
    : files_(files), target_(std::move(target)) {
    // A target that may not be written must not be replaced behind its back.
    platform::FileStatus status;
    targetExisted_ = !files_.Status(target_.path, status).Is(Kind::NotFound);
    if (targetExisted_ && (status.directory || status.readOnly))
        throw Error(kCannotCreate + target_.path, platform::SystemErrorOfKind(Kind::Denied));
    SystemError error;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temp_ = NameBeside();
        error = files_.CreateNew(temp_, file_);
        if (!error.Is(Kind::Exists)) break;
    }
    if (error) throw Error(kCannotCreate + target_.path, error);
}

ReplacementFile::~ReplacementFile() {
    flush_.Finish();
    file_.reset();
    if (!committed_ && !keepNew_) files_.Remove(temp_);
    if (!ownOldCopy_.empty()) files_.Remove(ownOldCopy_);
}

// A short name of its own, not the target's name with more added: that
// would reach past the longest name for a target whose name is near it.
std::string ReplacementFile::NameBeside() {
    std::random_device random;
    char name[16];
    std::snprintf(name, sizeof name, "~iv%04X", static_cast<unsigned>(random() & 0xFFFFu));
    return FolderOf(target_.path) + name;
}

void ReplacementFile::Write(const char* data, std::size_t size) {
    if (failed_) return;
    failed_ = file_->Write(data, size);
    if (failed_) return;
    written_ += size;
    flush_.Wrote(size);
}

void ReplacementFile::Commit() {
    if (!flush_.Finish() && !failed_) failed_ = flushFailed_;
    if (!failed_) failed_ = file_->Flush();
    if (!failed_) failed_ = file_->Close();
    file_.reset();
    if (failed_) throw Error(kCannotWrite + target_.path, failed_);
    if (target_.hostsFile)
        ReplaceHostsFile();
    else
        Rename();
    committed_ = true;
    // Renamed, the new file is the target's only once its folder is on disk.
    if (const SystemError error = files_.FlushDirectory(FolderToName(target_.path)))
        throw Error(kCannotWrite + target_.path, error);
}

void ReplacementFile::Rename() {
    if (const SystemError error = files_.Rename(temp_, target_.path)) Fail(kCannotCreate, error);
}

void ReplacementFile::ReplaceHostsFile() {
    platform::FileStatus status;
    if (files_.Status(target_.path, status).Is(Kind::NotFound)) return Rename();
    const SystemError error = files_.Replace(target_.path, temp_);
    if (error.Is(Kind::InUse)) return WriteInPlace();
    if (error) Fail(kCannotCreate, error);
}

// The host holds its file open and it cannot be replaced, only written over
// where it lies, so that whoever holds it keeps a valid handle.
void ReplacementFile::WriteInPlace() {
    std::string oldCopy = target_.oldCopy;
    if (oldCopy.empty()) {
        ownOldCopy_ = NameBeside();
        const CopyFailure copy = CopyToNewFile(files_, target_.path, ownOldCopy_, platform::FileSystem::Sharing::AllowAll);
        if (copy) {
            ownOldCopy_.clear();
            throw Error(kCannotCreate + target_.path, copy.error);
        }
        oldCopy = ownOldCopy_;
    }
    platform::FileStatus old;
    if (const SystemError error = files_.Status(oldCopy, old)) throw Error(kCannotCreate + target_.path, error);
    // The new length first, so that a disk without room for the new count
    // refuses before a byte of the old one changes. Some disks (sparse files,
    // network shares) reserve nothing for a length, and fill up part-way
    // through the writing instead: the old bytes then go back.
    std::unique_ptr<platform::WritableFile> target;
    if (const SystemError error = files_.OpenForOverwriting(target_.path, target))
        throw Error(kCannotCreate + target_.path, error);
    if (written_ > old.size) {
        if (const SystemError error = target->SetLength(written_)) throw Error(kCannotWrite + target_.path, error);
    }
    target.reset();
    const SystemError error = WriteOver(temp_, written_);
    if (!error) {
        files_.Remove(temp_);
        committed_ = true;
        return;
    }
    // A second failure in a row may well be passing: the old bytes are worth
    // a few tries.
    for (int attempt = 0; attempt < kRestoreAttempts; ++attempt)
        if (!WriteOver(oldCopy, old.size)) throw Error(kCannotWrite + target_.path, error);
    // Neither count is whole in the target: both stay beside it.
    keepNew_ = true;
    std::string kept = std::string(text::kNewFileKeptIn) + temp_;
    if (!ownOldCopy_.empty()) kept += std::string(text::kOldFileKeptIn) + ownOldCopy_;
    ownOldCopy_.clear();
    throw Error(kCannotWrite + target_.path + kept, error);
}

// Writes the whole file at from over the target from its start and cuts the
// target to length bytes.
SystemError ReplacementFile::WriteOver(const std::string& from, std::uint64_t length) {
    std::unique_ptr<platform::ReadableFile> source;
    if (const SystemError error = files_.OpenForReading(from, platform::FileSystem::Sharing::RefuseWriters, source))
        return error;
    std::unique_ptr<platform::WritableFile> target;
    if (const SystemError error = files_.OpenForOverwriting(target_.path, target)) return error;
    if (const CopyFailure copy = CopyRest(*source, *target)) return copy.error;
    if (const SystemError error = target->SetLength(length)) return error;
    if (const SystemError error = target->Flush()) return error;
    return target->Close();
}

// Where the target was there and is gone, the new file is the only count
// left and stays.
void ReplacementFile::Fail(const char* failure, SystemError cause) {
    platform::FileStatus status;
    if (!targetExisted_ || !files_.Status(target_.path, status).Is(Kind::NotFound))
        throw Error(failure + target_.path, cause);
    keepNew_ = true;
    throw Error(failure + target_.path + std::string(text::kNewFileKeptIn) + temp_, cause);
}

}  // namespace iwv
