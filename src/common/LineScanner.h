#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "common/ByteMarks.h"
#include "common/Words.h"

namespace iwv {

// Cuts a text that arrives in blocks into lines by the rules of line files:
// CR LF, a lone CR or a lone LF ends a line (LF CR is two line ends, and a CR
// LF split between two blocks is still one), a last line needs no line end,
// one at the very end opens no further line, and a NUL ends the text. Every
// line goes to a WordSplitter: whole, as a view into its block whose
// separators were found with the line ends in one pass, when it lies in one
// block, and in pieces when it spans blocks, so that no line is ever copied
// whole; the pieces begin where the line lies in the text. The separator is
// the splitter's, never CR or LF.
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
    WordSplitter& fields_;
    std::uint64_t lines_ = 0;
    std::uint64_t scanned_ = 0;  // bytes of the blocks before this one, where a line in pieces counts from
    bool open_ = false;     // a line began in an earlier block and has not ended
    bool afterCr_ = false;  // the last block ended with a CR, so an LF opening this one belongs to it
    // Where the line ends and separators of a block lie: a bit per byte of
    // the largest block so far, in each.
    std::unique_ptr<std::uint64_t[]> ends_;
    std::unique_ptr<std::uint64_t[]> separators_;
    std::size_t words_ = 0;
};

template <typename OnLine>
bool LineScanner::Scan(std::string_view block, OnLine&& onLine) {
    if (block.empty()) return true;
    const char* const data = block.data();
    std::size_t begin = afterCr_ && block.front() == '\n' ? 1 : 0;
    afterCr_ = false;
    const std::size_t words = MarkWords(block.size());
    if (words_ < words) {
        ends_.reset(new std::uint64_t[words]);
        separators_.reset(new std::uint64_t[words]);
        words_ = words;
    }
    MarkBytes(block, fields_.Separator, ends_.get(), separators_.get());
    std::size_t end = block.size();  // of the text: the block's, or where a NUL is
    for (std::size_t w = 0; w < words && end == block.size(); ++w) {
        for (std::uint64_t bits = ends_[w]; bits != 0; bits &= bits - 1) {
            const std::size_t at = 64 * w + static_cast<std::size_t>(__builtin_ctzll(bits));
            const char byte = data[at];
            if (byte == '\0') {
                end = at;
                break;
            }
            if (at < begin) continue;  // the LF of a CR LF
            if (open_) {
                // A line begun in an earlier block: its separators are found
                // as its pieces are fed.
                open_ = false;
                fields_.Feed(block.substr(begin, at - begin));
                fields_.End();
            } else {
                fields_.SplitMarked(block, begin, at, separators_.get());
            }
            ++lines_;
            onLine();
            begin = at + 1;
            if (byte == '\r') {
                if (begin == block.size())
                    afterCr_ = true;
                else if (data[begin] == '\n')
                    ++begin;
            }
        }
    }
    if (begin < end) {
        if (!open_) fields_.Begin(scanned_ + begin);
        open_ = true;
        fields_.Feed(block.substr(begin, end - begin));
    }
    scanned_ += end;
    return end == block.size();
}

template <typename OnLine>
void LineScanner::Finish(OnLine&& onLine) {
    if (!open_) return;
    open_ = false;
    fields_.End();
    ++lines_;
    onLine();
}

}  // namespace iwv
