#include "common/LineList.h"

#include <cstring>

#include "common/Error.h"

namespace iwv {
namespace {

// Calls onLine(begin, end) for every line of bytes, by the line-end rules.
template <typename OnLine>
void ForEachLine(std::string_view bytes, OnLine onLine) {
    const std::size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
    std::size_t begin = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            onLine(begin, i);
            i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
            begin = i;
        } else {
            ++i;
        }
    }
    if (begin < bytes.size()) onLine(begin, bytes.size());
}

constexpr std::size_t kWriteChunk = 1 << 16;

}  // namespace

LineList LineList::FromBytes(std::string_view bytes) {
    std::size_t lines = 0;
    std::size_t textSize = 0;
    ForEachLine(bytes, [&](std::size_t b, std::size_t e) { ++lines; textSize += e - b; });
    LineList list;
    list.Reserve(lines, textSize);
    ForEachLine(bytes, [&](std::size_t b, std::size_t e) { list.Append(bytes.substr(b, e - b)); });
    return list;
}

LineList LineList::Load(const std::string& path) {
    std::string contents;
    if (!platform::ReadWholeFile(path, contents)) throw Error("Cannot open file " + path);
    // Squeeze the lines together inside the buffer that was read, so that
    // loading needs no second copy of the file.
    LineList list;
    std::size_t lines = 0;
    ForEachLine(contents, [&](std::size_t, std::size_t) { ++lines; });
    list.ends_.reserve(lines);
    std::size_t out = 0;
    ForEachLine(contents, [&](std::size_t b, std::size_t e) {
        std::memmove(&contents[out], &contents[b], e - b);
        out += e - b;
        list.ends_.push_back(out);
    });
    contents.resize(out);
    contents.shrink_to_fit();
    list.text_ = std::move(contents);
    return list;
}

void LineList::Save(const std::string& path) const { Save(path, &platform::ReplacementFile::Open); }

void LineList::Save(const std::string& path, platform::ReplacementFile::Opener open) const {
    using Status = platform::ReplacementFile::Status;
    std::unique_ptr<platform::ReplacementFile> file;
    if (open(path, file) != Status::Ok) throw Error("Cannot create file " + path);

    std::string chunk;
    chunk.reserve(kWriteChunk + 2);
    bool written = true;
    for (std::size_t i = 0; i < Count() && written; ++i) {
        const std::string_view line = (*this)[i];
        if (chunk.size() + line.size() + 2 > kWriteChunk && !chunk.empty()) {
            written = file->Write(chunk.data(), chunk.size());
            chunk.clear();
        }
        if (line.size() + 2 > kWriteChunk) {
            written = written && file->Write(line.data(), line.size());
            chunk.append("\r\n");
        } else {
            chunk.append(line).append("\r\n");
        }
    }
    if (written && !chunk.empty()) written = file->Write(chunk.data(), chunk.size());
    if (!written) throw Error("Cannot write file " + path);

    switch (file->Commit()) {
        case Status::Ok: return;
        case Status::CannotCreate: throw Error("Cannot create file " + path);
        case Status::CannotWrite: throw Error("Cannot write file " + path);
    }
}

std::string LineList::ToBytes() const {
    std::string bytes;
    bytes.reserve(text_.size() + 2 * Count());
    for (std::size_t i = 0; i < Count(); ++i) bytes.append((*this)[i]).append("\r\n");
    return bytes;
}

std::string_view LineList::operator[](std::size_t index) const {
    const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(text_).substr(begin, ends_[index] - begin);
}

void LineList::Append(std::string_view line) {
    text_.append(line);
    ends_.push_back(text_.size());
}

void LineList::Clear() {
    text_.clear();
    ends_.clear();
}

void LineList::Reserve(std::size_t lines, std::size_t bytes) {
    ends_.reserve(ends_.size() + lines);
    text_.reserve(text_.size() + bytes);
}

}  // namespace iwv
