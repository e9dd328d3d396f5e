#pragma once

#include <cstddef>
#include <string>

#include "common/Cp1250.h"

namespace iwv::test {

// A Polish text written in the test's source (UTF-8) as the library writes
// it: Windows-1250.
template <std::size_t N>
std::string Pl(const char (&utf8)[N]) {
    return std::string(Cp1250(utf8).view());
}

}  // namespace iwv::test
