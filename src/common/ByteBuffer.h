#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace iwv {

// A growable run of bytes for text built a piece at a time. Appends are
// inline and new room is never zero-filled, so the million small appends of a
// file conversion cost little more than their copies; std::string spends
// several times that on each.
class ByteBuffer {
public:
    ByteBuffer() = default;
    // Takes over size bytes at data, with room for capacity.
    ByteBuffer(std::unique_ptr<char[]> data, std::size_t size, std::size_t capacity)
        : data_(std::move(data)), size_(size), capacity_(capacity) {}

    ByteBuffer(ByteBuffer&& other) noexcept { *this = std::move(other); }
    ByteBuffer& operator=(ByteBuffer&& other) noexcept {
        data_ = std::move(other.data_);
        size_ = other.size_;
        capacity_ = other.capacity_;
        other.size_ = other.capacity_ = 0;
        return *this;
    }
    ByteBuffer(const ByteBuffer& other) { Append(other.View()); }
    ByteBuffer& operator=(const ByteBuffer& other) {
        if (this != &other) {
            Clear();
            Append(other.View());
        }
        return *this;
    }

    void Append(const char* bytes, std::size_t count) {
        if (count > capacity_ - size_) Grow(count);
        if (count > 0) std::memcpy(data_.get() + size_, bytes, count);
        size_ += count;
    }
    void Append(std::string_view bytes) { Append(bytes.data(), bytes.size()); }
    void Append(char byte) {
        if (size_ == capacity_) Grow(1);
        data_[size_++] = byte;
    }

    // Makes room for at least extra more bytes without changing the content.
    void Reserve(std::size_t extra) {
        if (extra > capacity_ - size_) Grow(extra);
    }
    void Clear() { size_ = 0; }
    void Truncate(std::size_t size) {
        if (size < size_) size_ = size;
    }

    char* Data() { return data_.get(); }
    const char* Data() const { return data_.get(); }
    std::size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }
    std::string_view View() const { return {data_.get(), size_}; }
    std::string String() const { return std::string(View()); }

private:
    void Grow(std::size_t extra) {
        const std::size_t capacity = std::max(size_ + extra, capacity_ + capacity_ / 2 + 64);
        std::unique_ptr<char[]> data(new char[capacity]);
        if (size_ > 0) std::memcpy(data.get(), data_.get(), size_);
        data_ = std::move(data);
        capacity_ = capacity;
    }

    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace iwv
