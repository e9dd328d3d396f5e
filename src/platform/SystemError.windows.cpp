#include "platform/SystemError.h"

#include <windows.h>

namespace iwv::platform {

namespace {

// ERROR_DISK_QUOTA_EXCEEDED, which not every SDK's headers name.
constexpr DWORD kDiskQuotaExceeded = 1295;

}  // namespace

SystemError LastSystemError() {
    const DWORD code = ::GetLastError();
    return {KindOfSystemCode(code), code};
}

SystemError SystemErrorOfKind(SystemError::Kind kind) {
    using Kind = SystemError::Kind;
    switch (kind) {
        case Kind::None: return {};
        case Kind::NotFound: return {kind, ERROR_FILE_NOT_FOUND};
        case Kind::Exists: return {kind, ERROR_ALREADY_EXISTS};
        case Kind::InUse: return {kind, ERROR_SHARING_VIOLATION};
        case Kind::Denied: return {kind, ERROR_ACCESS_DENIED};
        case Kind::DiskFull: return {kind, ERROR_DISK_FULL};
        case Kind::Other: break;
    }
    return {Kind::Other, ERROR_GEN_FAILURE};
}

SystemError::Kind KindOfSystemCode(std::uint32_t code) {
    using Kind = SystemError::Kind;
    switch (code) {
        case ERROR_SUCCESS: return Kind::None;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME: return Kind::NotFound;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
        case ERROR_DIR_NOT_EMPTY: return Kind::Exists;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE: return Kind::InUse;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT: return Kind::Denied;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
        case kDiskQuotaExceeded: return Kind::DiskFull;
        default: return Kind::Other;
    }
}

// In the system's language and its ANSI code page: Polish, in Windows-1250,
// on the shop's PC.
std::string SystemErrorText(std::uint32_t code) {
    char text[512];
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                    text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' ' ||
                          text[length - 1] == '.'))
        --length;
    return std::string(text, length);
}

}  // namespace iwv::platform
