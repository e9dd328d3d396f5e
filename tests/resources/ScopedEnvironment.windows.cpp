#include "ScopedEnvironment.h"

#include <windows.h>

#include <vector>

namespace iwv::test {

// The Win32 environment, not the C runtime's copy: CreateProcessA hands the
// former to the driver and searches its PATH.
ScopedEnvironment::ScopedEnvironment(std::string name, const std::string& value)
    : name_(std::move(name)), old_(Get(name_)) {
    Set(value);
}

ScopedEnvironment::~ScopedEnvironment() { ::SetEnvironmentVariableA(name_.c_str(), old_ ? old_->c_str() : nullptr); }

void ScopedEnvironment::Set(const std::string& value) { ::SetEnvironmentVariableA(name_.c_str(), value.c_str()); }

std::optional<std::string> ScopedEnvironment::Get(const std::string& name) {
    std::vector<char> value(256);
    for (;;) {
        const DWORD length = ::GetEnvironmentVariableA(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) {
            if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        if (length < value.size()) return std::string(value.data(), length);
        value.resize(length);
    }
}

}  // namespace iwv::test
