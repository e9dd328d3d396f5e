#pragma once

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

namespace iwv::test {

// Writes a test input piece by piece, so that inputs of hundreds of megabytes
// never sit in the test's own memory (where a child process measured for its
// memory would inherit them).
class InputFile {
public:
    explicit InputFile(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {
        if (!file_) throw std::runtime_error("cannot create " + path);
    }
    ~InputFile() {
        if (file_) std::fclose(file_);
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    void Put(std::string_view bytes) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) throw std::runtime_error("write failed");
    }
    // piece, times times over, written in large chunks.
    void Repeat(std::string_view piece, std::size_t times) {
        std::string chunk;
        const std::size_t perChunk = piece.empty() ? 1 : std::max<std::size_t>(1, (1u << 20) / piece.size());
        for (std::size_t i = 0; i < perChunk; ++i) chunk.append(piece);
        for (; times >= perChunk; times -= perChunk) Put(chunk);
        for (; times > 0; --times) Put(piece);
    }
    void Close() {
        if (std::fclose(file_) != 0) throw std::runtime_error("close failed");
        file_ = nullptr;
    }

private:
    std::FILE* file_;
};

}  // namespace iwv::test
