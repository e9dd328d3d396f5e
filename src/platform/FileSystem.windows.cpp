#include "platform/FileSystem.h"

#include <windows.h>

#include <cstdio>
#include <random>

#include "platform/WinHandle.h"

namespace iwv::platform {
namespace {

// The directory part of path with its separator (C:\Shop\ or C: or the
// empty text for the current directory), ready for a name to follow.
std::string DirectoryOf(const std::string& path) {
    const std::size_t end = path.find_last_of("\\/:");
    return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

class WindowsReplacementFile final : public ReplacementFile {
public:
    WindowsReplacementFile(std::string target, std::string temp, HANDLE handle)
        : target_(std::move(target)), temp_(std::move(temp)), handle_(handle) {}

    ~WindowsReplacementFile() override {
        if (!committed_) {
            handle_.Close();
            ::DeleteFileA(temp_.c_str());
        }
    }

    bool Write(const char* data, std::size_t size) override {
        while (size > 0) {
            const DWORD part = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!::WriteFile(handle_.Get(), data, part, &written, nullptr) || written == 0) return false;
            data += written;
            size -= written;
        }
        return true;
    }

    Status Commit() override {
        if (!::FlushFileBuffers(handle_.Get()) || !handle_.Close()) return Status::CannotWrite;
        if (!::MoveFileExA(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return Status::CannotCreate;
        committed_ = true;
        return Status::Ok;
    }

private:
    std::string target_;
    std::string temp_;
    WinHandle handle_;
    bool committed_ = false;
};

}  // namespace

bool RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

bool FileCanBeOpenedForReading(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

bool DirectoryExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryWritable(const std::string& path) {
    std::unique_ptr<ReplacementFile> probe;
    return ReplacementFile::Open(path + "\\iwvestra.probe", probe) == ReplacementFile::Status::Ok;
}

ReplacementFile::Status ReplacementFile::Open(const std::string& target, std::unique_ptr<ReplacementFile>& file) {
    // The ANSI functions take no longer path; Wine's would take some, and the
    // library must not write where Windows cannot.
    if (target.size() >= MAX_PATH) return Status::CannotCreate;
    const DWORD attributes = ::GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return Status::CannotCreate;

    // The name is made here, not by GetTempFileNameA: that refuses every
    // directory of more than MAX_PATH - 14 characters, even where the target
    // itself fits, and Wine's does not check the length at all and writes past
    // the buffer. Seven characters fit beside nearly every target that fits.
    const std::string directory = DirectoryOf(target);
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char name[16];
        std::snprintf(name, sizeof name, "~iv%04X", static_cast<unsigned>(random() & 0xFFFFu));
        const std::string temp = directory + name;
        if (temp.size() >= MAX_PATH) return Status::CannotCreate;
        const HANDLE handle =
            ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_FILE_EXISTS) continue;
        if (handle == INVALID_HANDLE_VALUE) return Status::CannotCreate;
        file = std::make_unique<WindowsReplacementFile>(target, temp, handle);
        return Status::Ok;
    }
    return Status::CannotCreate;
}

}  // namespace iwv::platform
