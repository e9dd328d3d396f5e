#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

namespace iwv::test {

// A host-owned buffer filled with a sentinel byte, so that a test sees exactly
// which bytes the library wrote.
class HostBuffer {
public:
    static constexpr std::size_t kSize = 512;
    static constexpr char kSentinel = '\x5A';

    HostBuffer() { std::memset(bytes_, kSentinel, kSize); }

    char* data() { return bytes_; }
    // The text up to the first NUL; the whole buffer when there is none.
    std::string Text() const { return std::string(bytes_, TextLength()); }
    // True when no byte was written.
    bool Untouched() const {
        for (char byte : bytes_)
            if (byte != kSentinel) return false;
        return true;
    }
    // True when nothing was written after the NUL that ends the text.
    bool UntouchedAfterText() const {
        const std::size_t end = TextLength();
        for (std::size_t i = end + 1; i < kSize; ++i)
            if (bytes_[i] != kSentinel) return false;
        return end < kSize;
    }

private:
    std::size_t TextLength() const {
        return static_cast<std::size_t>(std::find(bytes_, bytes_ + kSize, '\0') - bytes_);
    }

    char bytes_[kSize];
};

}  // namespace iwv::test
