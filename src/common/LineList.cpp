#include "common/LineList.h"

#include <algorithm>
#include <cstring>

#include "common/Error.h"
#include "common/LineFileWriter.h"

namespace iwv {
namespace {

// Position of c in data from `from` on; size when there is none.
std::size_t FindByte(const char* data, std::size_t size, std::size_t from, char c) {
    if (from >= size) return size;
    const void* found = std::memchr(data + from, c, size - from);
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - data) : size;
}

// Calls onLine(begin, end) for every line of bytes, by the line-end rules.
// The next CR and the next LF are each found with memchr and remembered until
// passed, so a file of one line-end kind is scanned for the other only once.
// onLine may overwrite bytes before `end`; nothing before it is read again.
template <typename OnLine>
void ForEachLine(std::string_view bytes, OnLine onLine) {
    const char* const data = bytes.data();
    const std::size_t size = FindByte(data, bytes.size(), 0, '\0');
    std::size_t begin = 0;
    std::size_t nextCr = FindByte(data, size, 0, '\r');
    std::size_t nextLf = FindByte(data, size, 0, '\n');
    while (begin < size) {
        if (nextCr < begin) nextCr = FindByte(data, size, begin, '\r');
        if (nextLf < begin) nextLf = FindByte(data, size, begin, '\n');
        const std::size_t end = std::min(nextCr, nextLf);
        onLine(begin, end);
        if (end == size) return;
        const bool crLf = data[end] == '\r' && end + 1 < size && data[end + 1] == '\n';
        begin = end + (crLf ? 2 : 1);
    }
}

}  // namespace

LineList LineList::FromBytes(std::string_view bytes) {
    LineList list;
    list.text_.Reserve(bytes.size());
    ForEachLine(bytes, [&](std::size_t b, std::size_t e) { list.Append(bytes.substr(b, e - b)); });
    return list;
}

LineList LineList::Load(const std::string& path) {
    platform::FileBytes contents;
    if (!platform::ReadWholeFile(path, contents)) throw Error("Cannot open file " + path);
    // Squeeze the lines together inside the buffer that was read, so that
    // loading needs no second copy of the file.
    char* const data = contents.data.get();
    LineList list;
    std::size_t out = 0;
    ForEachLine(std::string_view(data, contents.size), [&](std::size_t b, std::size_t e) {
        std::memmove(data + out, data + b, e - b);
        out += e - b;
        list.ends_.push_back(out);
    });
    list.text_ = ByteBuffer(std::move(contents.data), out, contents.capacity);
    return list;
}

void LineList::Save(const std::string& path) const { Save(path, &platform::ReplacementFile::Open); }

void LineList::Save(const std::string& path, const platform::ReplacementFile::Opener& open) const {
    LineFileWriter file(path, open);
    for (std::size_t i = 0; i < Count(); ++i) file.Append((*this)[i]);
    file.Commit();
}

std::string LineList::ToBytes() const {
    std::string bytes;
    bytes.reserve(text_.Size() + 2 * Count());
    for (std::size_t i = 0; i < Count(); ++i) bytes.append((*this)[i]).append("\r\n");
    return bytes;
}

void LineList::Clear() {
    text_.Clear();
    ends_.clear();
}

void LineList::Reserve(std::size_t lines, std::size_t bytes) {
    ends_.reserve(ends_.size() + lines);
    text_.Reserve(bytes);
}

}  // namespace iwv
