#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

namespace iwv {

// A growable run of bytes whose room is kept when it is cleared. It grows
// with realloc, which moves a large buffer by remapping its pages rather than
// copying them where the allocator can: bytes of many megabytes then never
// sit in memory twice while they grow.
class ByteBuffer {
public:
    void Append(std::string_view bytes) {
        if (bytes.empty()) return;
        if (bytes.size() > capacity_ - size_) Grow(bytes.size());
        std::memcpy(data_.get() + size_, bytes.data(), bytes.size());
        size_ += bytes.size();
    }
    void Clear() { size_ = 0; }
    std::size_t Size() const { return size_; }
    std::string_view View() const { return {data_.get(), size_}; }

private:
    struct Free {
        void operator()(char* data) const { std::free(data); }
    };

    void Grow(std::size_t extra) {
        const std::size_t capacity = std::max(size_ + extra, capacity_ * 2);
        char* const data = static_cast<char*>(std::realloc(data_.get(), capacity));
        if (data == nullptr) throw std::bad_alloc();
        data_.release();
        data_.reset(data);
        capacity_ = capacity;
    }

    std::unique_ptr<char, Free> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace iwv
