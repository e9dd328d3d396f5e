#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/ByteBuffer.h"
#include "platform/FileSystem.h"

namespace iwv {

// An ordered list of byte-text lines: not sorted, duplicates kept, new lines
// appended at the end. All lines share one buffer, so a list of a million
// lines costs its bytes plus one offset per line, not a heap string per line.
class LineList {
public:
    // Reads the whole file and splits it into lines (see FromBytes). The file
    // is opened so that other readers may share it and writers may not.
    // Throws Error "Cannot open file <path>".
    static LineList Load(const std::string& path);

    // Splits bytes into lines: CR LF, a lone CR or a lone LF ends a line (LF CR
    // is two line ends), a last line needs no line end, a NUL ends the text.
    static LineList FromBytes(std::string_view bytes);

    // Replaces the file with every line followed by CR LF. The old file stays
    // as it was unless every byte of the new one reached the disk.
    // Throws Error "Cannot create file <path>" or "Cannot write file <path>".
    void Save(const std::string& path) const;
    // The same, through another way of opening the replacement file (tests
    // use it to make writes fail part-way).
    void Save(const std::string& path, const platform::ReplacementFile::Opener& open) const;

    // The file image that Save writes.
    std::string ToBytes() const;

    std::size_t Count() const { return ends_.size(); }
    // The bytes of all lines together, line ends not counted.
    std::size_t TextSize() const { return text_.Size(); }
    bool Empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t index) const {
        const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(text_.Data() + begin, ends_[index] - begin);
    }

    // Calls onLine(line) for every line, in order.
    template <typename OnLine>
    void ForEach(OnLine onLine) const {
        for (std::size_t i = 0; i < Count(); ++i) onLine((*this)[i]);
    }

    void Append(std::string_view line) {
        text_.Append(line);
        ends_.push_back(text_.Size());
    }
    void Clear();
    // Makes room for more lines and bytes without changing the content.
    void Reserve(std::size_t lines, std::size_t bytes);

private:
    ByteBuffer text_;                // every line back to back, no line ends
    std::vector<std::size_t> ends_;  // where each line ends in text_
};

}  // namespace iwv
