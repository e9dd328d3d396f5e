#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>

namespace iwv::platform {

SystemError LastSystemError() {
    const auto code = static_cast<std::uint32_t>(errno);
    return {KindOfSystemCode(code), code};
}

SystemError SystemErrorOfKind(SystemError::Kind kind) {
    using Kind = SystemError::Kind;
    switch (kind) {
        case Kind::None: return {};
        case Kind::NotFound: return {kind, ENOENT};
        case Kind::Exists: return {kind, EEXIST};
        case Kind::InUse: return {kind, EBUSY};
        case Kind::Denied: return {kind, EACCES};
        case Kind::DiskFull: return {kind, ENOSPC};
        case Kind::Other: break;
    }
    return {Kind::Other, EIO};
}

SystemError::Kind KindOfSystemCode(std::uint32_t code) {
    using Kind = SystemError::Kind;
    switch (static_cast<int>(code)) {
        case 0: return Kind::None;
        case ENOENT:
        case ENOTDIR: return Kind::NotFound;
        case EEXIST:
        case ENOTEMPTY: return Kind::Exists;
        case EWOULDBLOCK:
        case EBUSY:
        case ETXTBSY: return Kind::InUse;
        case EACCES:
        case EPERM:
        case EROFS: return Kind::Denied;
        case ENOSPC:
        case EDQUOT: return Kind::DiskFull;
        default: return Kind::Other;
    }
}

std::string SystemErrorText(std::uint32_t code) { return code == 0 ? std::string() : std::strerror(static_cast<int>(code)); }

}  // namespace iwv::platform
