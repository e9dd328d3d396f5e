#pragma once

#include <windows.h>

namespace iwv::platform {

// Owns a Win32 handle and closes it on every path. Only the Windows
// implementations include this header.
class WinHandle {
public:
    explicit WinHandle(HANDLE handle = nullptr) : handle_(handle) {}
    WinHandle(const WinHandle&) = delete;
    WinHandle& operator=(const WinHandle&) = delete;
    WinHandle(WinHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    WinHandle& operator=(WinHandle&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = other.handle_;
            other.handle_ = nullptr;
        }
        return *this;
    }
    ~WinHandle() { Close(); }

    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    // Closes the handle now; false when closing failed.
    bool Close() {
        const HANDLE handle = handle_;
        handle_ = nullptr;
        return handle == nullptr || handle == INVALID_HANDLE_VALUE || ::CloseHandle(handle);
    }

private:
    HANDLE handle_;
};

}  // namespace iwv::platform
