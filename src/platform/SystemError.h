#pragma once

#include <cstdint>
#include <string>

namespace iwv::platform {

// A call to the system that failed: what the library tells apart and acts on,
// and the system's own code (errno, or GetLastError on Windows), which the
// journal and the messages quote so that a full disk, a file held by another
// program and a missing folder never read alike.
struct SystemError {
    enum class Kind : std::uint8_t {
        None,      // the call succeeded
        NotFound,  // no such file or folder
        Exists,    // something of that name is there already
        InUse,     // another program holds it, for now
        Denied,    // not allowed: read-only, no right to it
        DiskFull,  // no room left
        Other,
    };

    Kind kind = Kind::None;
    std::uint32_t code = 0;

    // True when the call failed.
    explicit operator bool() const { return kind != Kind::None; }
    bool Is(Kind other) const { return kind == other; }
};

// The error of the system call that just failed on this thread.
SystemError LastSystemError();

// A code of this system's own for an error of that kind, for failures the
// library finds itself, before the system would (a read-only target).
SystemError SystemErrorOfKind(SystemError::Kind kind);

// How the library reads a system code.
SystemError::Kind KindOfSystemCode(std::uint32_t code);

// The system's own words for a code, in its language, without a trailing
// line end or full stop; empty when the system has none.
std::string SystemErrorText(std::uint32_t code);

}  // namespace iwv::platform
