#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/BackgroundFlush.h"
#include "platform/FileSystem.h"

namespace iwv {

// The file a replacement takes the place of.
struct ReplacementTarget {
    ReplacementTarget(std::string path_, bool hostsFile_ = false, std::string oldCopy_ = {})
        : path(std::move(path_)), hostsFile(hostsFile_), oldCopy(std::move(oldCopy_)) {}

    std::string path;
    // The host's own file: it keeps its attributes and security, and the host
    // may hold it open meanwhile, when it can only be written over in place.
    bool hostsFile = false;
    // Where the target's present bytes already lie on disk (the archive's
    // copy), for putting them back should writing over it in place fail
    // part-way. Without it, they are first copied beside the target.
    std::string oldCopy;
};

// A new file that takes the place of its target only once it is complete and
// on disk. It is written beside the target, under a name of its own, so that
// the final rename never crosses file systems and a power cut leaves either
// the old file or the new one. A target that can only be written over in
// place is written over only once its old bytes are on disk elsewhere, and
// gets them back should the writing fail part-way. Destroyed without Commit,
// it removes itself.
class ReplacementFile {
public:
    // Throws Error "Cannot create file <target>".
    ReplacementFile(platform::FileSystem& files, ReplacementTarget target);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Appends bytes. After a failed write nothing more is written, and Commit
    // reports the failure.
    void Write(const char* data, std::size_t size);

    // Throws Error "Cannot write file <target>" or "Cannot create file
    // <target>", followed by where the complete new file is kept when the
    // target may hold neither the old bytes nor the new ones.
    void Commit();

private:
    std::string NameBeside();
    void Rename();
    void ReplaceHostsFile();
    void WriteInPlace();
    platform::SystemError WriteOver(const std::string& from, std::uint64_t length);
    [[noreturn]] void Fail(const char* failure, platform::SystemError cause);

    platform::FileSystem& files_;
    ReplacementTarget target_;
    std::string temp_;
    std::unique_ptr<platform::WritableFile> file_;
    platform::SystemError failed_;       // the first failed write or background flush
    platform::SystemError flushFailed_;  // set on the flush thread
    std::uint64_t written_ = 0;
    std::string ownOldCopy_;  // the target's old bytes, copied beside it for writing in place
    bool targetExisted_ = false;  // when the replacement began
    bool committed_ = false;
    bool keepNew_ = false;  // the target may hold neither file: the new one stays
    platform::BackgroundFlush flush_{[this] { return !(flushFailed_ = file_->FlushAside()); }};
};

}  // namespace iwv
