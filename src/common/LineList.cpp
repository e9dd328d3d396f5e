#include "common/LineList.h"

#include <cstring>

#include "common/Error.h"
#include "common/LineEnds.h"
#include "common/LineFileWriter.h"

namespace iwv {

LineList LineList::FromBytes(std::string_view bytes) {
    LineList list;
    list.text_.Reserve(bytes.size());
    ForEachLineIn(bytes, [&](std::size_t b, std::size_t e) { list.Append(bytes.substr(b, e - b)); });
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
    ForEachLineIn(std::string_view(data, contents.size), [&](std::size_t b, std::size_t e) {
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
