#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "common/ByteSearch.h"
#include "common/Words.h"

namespace iwv {

// Cuts a text that arrives in blocks into lines by the rules of line files:
// CR LF, a lone CR or a lone LF ends a line (LF CR is two line ends, and a CR
// LF split between two blocks is still one), a last line needs no line end,
// one at the very end opens no further line, and a NUL ends the text. Every
// line goes to a WordSplitter: whole, as a view into its block, when it lies
// in one block, and in pieces when it spans blocks, so that no line is ever
// copied whole; the pieces begin where the line lies in the text.
class LineScanner {
public:
    explicit LineScanner(WordSplitter& fields) : fields_(fields) {}

    // Scans the next block of the text, calling onLine() whenever a line has
    // been split into fields. False once a NUL has ended the text: nothing
    // after it counts.
    template <typename OnLine>
    bool Scan(std::string_view block, OnLine&& onLine);
    // Ends the text: splits a last line that had no line end.
    template <typename OnLine>
    void Finish(OnLine&& onLine);
    // The lines split so far.
    std::uint64_t Lines() const { return lines_; }

private:
    // The length of block up to its first NUL, searched for by the C
    // library, which is fastest over a whole block.
    static std::size_t TextLength(std::string_view block) {
        const void* nul = std::memchr(block.data(), '\0', block.size());
        return nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - block.data()) : block.size();
    }
    template <typename OnLine>
    void EndLine(std::string_view lastPiece, OnLine& onLine);

    WordSplitter& fields_;
    std::uint64_t lines_ = 0;
    std::uint64_t scanned_ = 0;  // bytes of the blocks before this one, where a line in pieces counts from
    bool open_ = false;     // a line began in an earlier block and has not ended
    bool afterCr_ = false;  // the last block ended with a CR, so an LF opening this one belongs to it
};

template <typename OnLine>
bool LineScanner::Scan(std::string_view block, OnLine&& onLine) {
    const std::size_t length = TextLength(block);
    const bool ended = length < block.size();
    block = block.substr(0, length);
    if (block.empty()) return !ended;
    std::size_t begin = afterCr_ && block.front() == '\n' ? 1 : 0;
    afterCr_ = false;
    for (std::size_t end = FindLineEnd(block, begin); end < block.size(); end = FindLineEnd(block, begin)) {
        EndLine(block.substr(begin, end - begin), onLine);
        begin = end + 1;
        if (block[end] != '\r') continue;
        if (begin == block.size())
            afterCr_ = true;
        else if (block[begin] == '\n')
            ++begin;
    }
    if (begin < block.size()) {
        if (!open_) fields_.Begin(scanned_ + begin);
        open_ = true;
        fields_.Feed(block.substr(begin));
    }
    scanned_ += block.size();
    return !ended;
}

template <typename OnLine>
void LineScanner::Finish(OnLine&& onLine) {
    if (!open_) return;
    open_ = false;
    fields_.End();
    ++lines_;
    onLine();
}

template <typename OnLine>
void LineScanner::EndLine(std::string_view lastPiece, OnLine& onLine) {
    if (open_) {
        open_ = false;
        fields_.Feed(lastPiece);
        fields_.End();
    } else {
        fields_.SplitText(lastPiece);
    }
    ++lines_;
    onLine();
}

}  // namespace iwv
