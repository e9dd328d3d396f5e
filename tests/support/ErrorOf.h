#pragma once

#include <gtest/gtest.h>

#include <string>

#include "common/Error.h"

namespace iwv::test {

// The message of the Error that body throws; a test failure when it throws
// none.
template <typename Body>
std::string ErrorOf(Body&& body) {
    try {
        body();
    } catch (const Error& error) {
        return error.Message();
    }
    ADD_FAILURE() << "no Error thrown";
    return {};
}

}  // namespace iwv::test
