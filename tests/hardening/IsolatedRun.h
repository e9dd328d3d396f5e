#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace iwv::test {

// How a piece of library work ended when run on its own.
struct IsolatedResult {
    bool crashed = false;   // ended by a signal, or by anything but an Error
    std::string how;        // what the crash was
    std::string error;      // the message of the Error it threw; empty when none
    // The highest resident memory of the run, where it can be measured on its
    // own (in a child process).
    std::optional<std::size_t> peakBytes;
};

// Runs body where a crash cannot take the test with it and its memory can be
// measured: natively in a child process of its own; elsewhere in this
// process, with only its Error caught.
IsolatedResult RunIsolated(const std::function<void()>& body);

}  // namespace iwv::test
