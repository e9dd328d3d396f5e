#pragma once

#include <exception>
#include <string>

namespace iwv {

// The library's one error type: a message text and nothing else. Every failure
// that ends an operation (a file that cannot be read or written, a driver that
// ran past its time-out) is an Error; callers tell them apart by the text.
class Error : public std::exception {
public:
    explicit Error(std::string message) : message_(std::move(message)) {}

    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

}  // namespace iwv
