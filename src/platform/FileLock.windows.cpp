#include "platform/FileLock.h"

#include <windows.h>

#include "platform/WinHandle.h"

namespace iwv::platform {
namespace {

class WindowsFileLock final : public FileLock {
public:
    explicit WindowsFileLock(HANDLE handle) : handle_(handle) {}

private:
    WinHandle handle_;
};

}  // namespace

FileLock::Status FileLock::TryAcquire(const std::string& path, std::unique_ptr<FileLock>& lock) {
    // Shared with nobody, so a second open fails while this one lasts; the
    // system deletes the file when the last handle goes, however it goes.
    const HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_SHARING_VIOLATION ? Status::Busy : Status::Failed;
    lock = std::make_unique<WindowsFileLock>(handle);
    return Status::Held;
}

}  // namespace iwv::platform
