#pragma once

#include <optional>
#include <string>

namespace iwv::test {

// Sets an environment variable of this process, which started drivers
// inherit, and puts the old value back when it goes.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    void Set(const std::string& value);
    static std::optional<std::string> Get(const std::string& name);

private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace iwv::test
