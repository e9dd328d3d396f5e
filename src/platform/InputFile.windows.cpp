#include "platform/InputFile.h"

#include <windows.h>

#include "platform/WinHandle.h"

namespace iwv::platform {
namespace {

class WindowsInputFile final : public InputFile {
public:
    explicit WindowsInputFile(WinHandle handle) : handle_(std::move(handle)) {}

    bool Read(char* data, std::size_t capacity, std::size_t& read) override {
        if (!ReadAt(position_, data, capacity, read)) return false;
        position_ += read;
        return true;
    }

    // A read at an offset moves the handle's own file pointer too, so every
    // read names its offset and the reader keeps its place itself.
    bool ReadAt(std::uint64_t offset, char* data, std::size_t capacity, std::size_t& read) override {
        const DWORD part = capacity > 0x40000000u ? 0x40000000u : static_cast<DWORD>(capacity);
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD n = 0;
        if (!::ReadFile(handle_.Get(), data, part, &n, &at)) {
            if (::GetLastError() != ERROR_HANDLE_EOF) return false;
            n = 0;
        }
        read = n;
        return true;
    }

private:
    WinHandle handle_;
    std::uint64_t position_ = 0;
};

std::unique_ptr<InputFile> OpenSharing(const std::string& path, DWORD sharing) {
    WinHandle handle(::CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!handle.Valid()) return nullptr;
    return std::make_unique<WindowsInputFile>(std::move(handle));
}

}  // namespace

std::unique_ptr<InputFile> InputFile::Open(const std::string& path) {
    // FILE_SHARE_READ alone: other readers may open the file, and the open
    // fails while anybody holds it open for writing; while this handle is
    // open, nobody can open it for writing.
    return OpenSharing(path, FILE_SHARE_READ);
}

std::unique_ptr<InputFile> InputFile::OpenShared(const std::string& path) {
    return OpenSharing(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
}

}  // namespace iwv::platform
