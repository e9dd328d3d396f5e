#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace iwv::fuzz {

// A broken property is a finding like a crash: aborting makes libFuzzer stop
// and keep the input that broke it.
inline void Require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property failed: %s\n", property);
    std::abort();
}

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

inline std::size_t CountOf(std::string_view text, char c) {
    std::size_t n = 0;
    for (const char b : text) n += b == c ? 1 : 0;
    return n;
}

}  // namespace iwv::fuzz
