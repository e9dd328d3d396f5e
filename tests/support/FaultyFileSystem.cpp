#include "support/FaultyFileSystem.h"

namespace iwv::test {
namespace {

using platform::SystemError;
using Kind = SystemError::Kind;

class FaultyReadableFile final : public platform::ReadableFile {
public:
    FaultyReadableFile(FaultyFileSystem& files, std::unique_ptr<platform::ReadableFile> file, std::string path)
        : files_(files), file_(std::move(file)), path_(std::move(path)) {}
    SystemError Read(char* data, std::size_t capacity, std::size_t& read) override {
        if (const SystemError error = files_.Pass(false, Kind::Other, "Read", path_)) return error;
        return file_->Read(data, capacity, read);
    }
    SystemError ReadAt(std::uint64_t offset, char* data, std::size_t capacity, std::size_t& read) override {
        if (const SystemError error = files_.Pass(false, Kind::Other, "ReadAt", path_)) return error;
        return file_->ReadAt(offset, data, capacity, read);
    }

private:
    FaultyFileSystem& files_;
    std::unique_ptr<platform::ReadableFile> file_;
    std::string path_;
};

class FaultyWritableFile final : public platform::WritableFile {
public:
    FaultyWritableFile(FaultyFileSystem& files, std::unique_ptr<platform::WritableFile> file, std::string path)
        : files_(files), file_(std::move(file)), path_(std::move(path)) {}
    SystemError Write(const char* data, std::size_t size) override {
        const SystemError error = files_.Pass(true, Kind::DiskFull, "Write", path_);
        if (error && files_.FailingNow()) file_->Write(data, size / 2);
        return error ? error : file_->Write(data, size);
    }
    SystemError SetLength(std::uint64_t size) override {
        if (const SystemError error = files_.Pass(true, Kind::DiskFull, "SetLength", path_)) return error;
        return file_->SetLength(size);
    }
    SystemError Flush() override {
        if (const SystemError error = files_.Pass(true, Kind::Other, "Flush", path_)) return error;
        return file_->Flush();
    }
    SystemError FlushAside() override {
        if (const SystemError error = files_.Pass(true, Kind::Other, "FlushAside", path_)) return error;
        return file_->FlushAside();
    }
    SystemError Close() override {
        if (const SystemError error = files_.Pass(false, Kind::Other, "Close", path_)) return error;
        return file_->Close();
    }

private:
    FaultyFileSystem& files_;
    std::unique_ptr<platform::WritableFile> file_;
    std::string path_;
};

template <typename Wrapper, typename File>
SystemError Wrapped(FaultyFileSystem& files, SystemError error, std::unique_ptr<File>& file, const std::string& path) {
    if (!error) file = std::make_unique<Wrapper>(files, std::move(file), path);
    return error;
}

}  // namespace

SystemError FaultyFileSystem::Pass(bool changes, Kind failure, const char* call, const std::string& path) {
    failingNow_ = false;
    if (afterPowerCut_) return platform::SystemErrorOfKind(Kind::Other);
    ++calls_;
    changes_ += changes;
    if (calls_ == failAt_) {
        failingNow_ = true;
        hit_ = std::string(call) + " " + path;
        return platform::SystemErrorOfKind(failure);
    }
    if (changes && changes_ == cutAt_) {
        hit_ = std::string(call) + " " + path;
        afterPowerCut_ = disk_.AfterPowerCut();
        return platform::SystemErrorOfKind(Kind::Other);
    }
    return {};
}

SystemError FaultyFileSystem::OpenForReading(const std::string& path, Sharing sharing,
                                             std::unique_ptr<platform::ReadableFile>& file) {
    if (const SystemError error = Pass(false, Kind::Other, "OpenForReading", path)) return error;
    return Wrapped<FaultyReadableFile>(*this, disk_.OpenForReading(path, sharing, file), file, path);
}

SystemError FaultyFileSystem::CreateNew(const std::string& path, std::unique_ptr<platform::WritableFile>& file) {
    if (const SystemError error = Pass(true, Kind::DiskFull, "CreateNew", path)) return error;
    return Wrapped<FaultyWritableFile>(*this, disk_.CreateNew(path, file), file, path);
}

SystemError FaultyFileSystem::OpenForAppending(const std::string& path, std::unique_ptr<platform::WritableFile>& file) {
    if (const SystemError error = Pass(true, Kind::DiskFull, "OpenForAppending", path)) return error;
    return Wrapped<FaultyWritableFile>(*this, disk_.OpenForAppending(path, file), file, path);
}

SystemError FaultyFileSystem::OpenForOverwriting(const std::string& path,
                                                 std::unique_ptr<platform::WritableFile>& file) {
    if (const SystemError error = Pass(false, Kind::Other, "OpenForOverwriting", path)) return error;
    return Wrapped<FaultyWritableFile>(*this, disk_.OpenForOverwriting(path, file), file, path);
}

SystemError FaultyFileSystem::Status(const std::string& path, platform::FileStatus& status) {
    if (const SystemError error = Pass(false, Kind::Other, "Status", path)) return error;
    return disk_.Status(path, status);
}

SystemError FaultyFileSystem::List(const std::string& directory, std::vector<platform::DirectoryEntry>& entries) {
    if (const SystemError error = Pass(false, Kind::Other, "List", directory)) return error;
    return disk_.List(directory, entries);
}

SystemError FaultyFileSystem::Remove(const std::string& path) {
    if (const SystemError error = Pass(true, Kind::Other, "Remove", path)) return error;
    return disk_.Remove(path);
}

SystemError FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
    if (const SystemError error = Pass(true, Kind::Other, "Rename", from + " -> " + to)) return error;
    return disk_.Rename(from, to);
}

SystemError FaultyFileSystem::Replace(const std::string& target, const std::string& replacement) {
    if (const SystemError error = Pass(true, Kind::Other, "Replace", target)) return error;
    return disk_.Replace(target, replacement);
}

SystemError FaultyFileSystem::MakeDirectory(const std::string& path) {
    if (const SystemError error = Pass(true, Kind::DiskFull, "MakeDirectory", path)) return error;
    return disk_.MakeDirectory(path);
}

SystemError FaultyFileSystem::RemoveEmptyDirectory(const std::string& path) {
    if (const SystemError error = Pass(true, Kind::Other, "RemoveEmptyDirectory", path)) return error;
    return disk_.RemoveEmptyDirectory(path);
}

SystemError FaultyFileSystem::FlushDirectory(const std::string& path) {
    if (const SystemError error = Pass(true, Kind::Other, "FlushDirectory", path)) return error;
    return disk_.FlushDirectory(path);
}

SystemError FaultyFileSystem::Lock(const std::string& path, std::unique_ptr<platform::FileLock>& lock) {
    if (const SystemError error = Pass(false, Kind::Other, "Lock", path)) return error;
    return disk_.Lock(path, lock);
}

}  // namespace iwv::test
