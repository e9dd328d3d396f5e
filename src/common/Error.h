#pragma once

#include <exception>
#include <new>
#include <string>

#include "common/Texts.h"
#include "platform/SystemError.h"

namespace iwv {

// The library's one error type: the message the host receives, and the
// system's error that caused it, when one did, for the journal. Every failure
// that ends an operation (a file that cannot be read or written, a driver that
// ran past its time-out) is an Error; callers tell them apart by the text.
class Error : public std::exception {
public:
    explicit Error(std::string message, platform::SystemError cause = {})
        : message_(std::move(message)), cause_(cause) {}

    const std::string& Message() const noexcept { return message_; }
    const platform::SystemError& Cause() const noexcept { return cause_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
    platform::SystemError cause_;
};

// What the exception being handled says, for the host and the journal: an
// Error's message or another exception's own text, "Brak pamięci" when an
// allocation failed, "Nieoczekiwany błąd" for anything else. Only for use
// inside a catch block; it allocates nothing, since memory may be what ran
// out.
inline const char* CurrentFailureText() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return text::kOutOfMemory.c_str();
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return text::kUnexpectedError.c_str();
    }
}

// The system's error behind the exception being handled, when it is an Error
// that has one. Only for use inside a catch block.
inline platform::SystemError CurrentFailureCause() noexcept {
    try {
        throw;
    } catch (const Error& error) {
        return error.Cause();
    } catch (...) {
        return {};
    }
}

}  // namespace iwv
