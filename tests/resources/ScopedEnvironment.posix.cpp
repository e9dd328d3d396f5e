#include "ScopedEnvironment.h"

#include <cstdlib>

namespace iwv::test {

ScopedEnvironment::ScopedEnvironment(std::string name, const std::string& value)
    : name_(std::move(name)), old_(Get(name_)) {
    Set(value);
}

ScopedEnvironment::~ScopedEnvironment() {
    if (old_)
        ::setenv(name_.c_str(), old_->c_str(), 1);
    else
        ::unsetenv(name_.c_str());
}

void ScopedEnvironment::Set(const std::string& value) { ::setenv(name_.c_str(), value.c_str(), 1); }

std::optional<std::string> ScopedEnvironment::Get(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (!value) return std::nullopt;
    return std::string(value);
}

}  // namespace iwv::test
