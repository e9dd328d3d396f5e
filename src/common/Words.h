#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/ByteBuffer.h"

namespace iwv {

// Cuts one line into fields at a one-character separator and hands the fields
// out by index. Each separator ends a field; one at the very end of the line
// opens no further field, and the empty line has no fields. Nothing is
// allocated per field and nothing grows with their number: the first
// kKeptFields fields are kept as views into the line and later ones are only
// counted (and found again when asked for), so that a line of a million
// separators costs no more memory than a short one.
class WordSplitter {
public:
    // As many as the conversions read: the six fields of a goods line.
    static constexpr int kKeptFields = 6;

    // Set by the owner before the first split. '\0', the default, is never
    // found: a text is then one field.
    char Separator = '\0';
    // Set when a field past the end was asked for; cleared at every split.
    bool OutOfRange = false;

    // Splits the text block[begin, end) whose separators were marked
    // beforehand, as the line scanner marks them together with the line ends
    // (ByteMarks.h): a bit per byte of block. Returns the number of fields,
    // which are views into block and valid as long as it is.
    std::int64_t SplitMarked(std::string_view block, std::size_t begin, std::size_t end, const std::uint64_t* separators);
    // Field number index (from 0) of the last split; the empty text below 0
    // or past the end, and past the end also sets OutOfRange.
    std::string_view Field(int index) {
        if (index < 0 || index >= count_ || index >= kKeptFields) return OtherField(index);
        const auto i = static_cast<std::size_t>(index);
        return {fields_[i].data(), std::min(fields_[i].size(), limits_[i])};
    }
    // The number of fields of the last split.
    std::int64_t Count() const { return count_; }
    // The size of the last text split whole, in bytes.
    std::size_t Size() const { return size_; }

    // From now on Field gives no more than the first `bytes` bytes of field
    // index (below kKeptFields), and no more of it is kept.
    void Limit(int index, std::size_t bytes);

    // A text too long for one block (a line longer than the block a file is
    // read in) is split in pieces: Begin, Feed with every piece in order,
    // then End, which returns the number of fields. A piece need not outlive
    // Feed: the splitter copies what it keeps, the first kKeptBytes bytes of
    // each of the first kKeptFields fields, up to their limits. A later field
    // of such a text reads as the empty text. start is where the text begins
    // in whatever its pieces come from, so that the bytes of a field longer
    // than what is kept of it can be found there again (FieldStart).
    void Begin(std::uint64_t start = 0);
    void Feed(std::string_view piece);
    std::int64_t End();

    // Of a field of a text in pieces, this many bytes are kept: enough for
    // any field of a sound line, and a fixed amount however long a broken
    // line is.
    static constexpr std::size_t kKeptBytes = std::size_t{1} << 16;
    // Whether the last text was split in pieces.
    bool InPieces() const { return inPieces_; }
    // The whole size of field index (below kKeptFields), up to its limit;
    // more than Field gives where the field is longer than what is kept.
    std::uint64_t FieldSize(int index) const {
        if (index < 0 || index >= count_ || index >= kKeptFields) return 0;
        const auto i = static_cast<std::size_t>(index);
        return std::min<std::uint64_t>(inPieces_ ? sizes_[i] : fields_[i].size(), limits_[i]);
    }
    // Where field index of a text in pieces begins, counted as Begin's start.
    std::uint64_t FieldStart(int index) const { return starts_.at(static_cast<std::size_t>(index)); }

private:
    std::string_view OtherField(int index);
    void Keep(std::int64_t index, std::string_view bytes);

    std::array<std::string_view, kKeptFields> fields_{};
    std::array<std::size_t, kKeptFields> limits_ = MakeNoLimits();
    std::int64_t count_ = 0;
    std::size_t size_ = 0;
    // Of a whole text: what follows the last kept field's separator.
    std::string_view rest_;
    // Of a text in pieces: the kept fields' bytes (their room reused from
    // text to text), starts and whole sizes, the separators so far, whether
    // there were bytes at all and whether the last one was a separator.
    bool inPieces_ = false;
    std::array<ByteBuffer, kKeptFields> kept_;
    std::array<std::uint64_t, kKeptFields> starts_{};
    std::array<std::uint64_t, kKeptFields> sizes_{};
    std::uint64_t fed_ = 0;  // where the next piece begins, counted as Begin's start
    std::int64_t separators_ = 0;
    bool anyBytes_ = false;
    bool endsWithSeparator_ = false;

    static constexpr std::array<std::size_t, kKeptFields> MakeNoLimits() {
        std::array<std::size_t, kKeptFields> limits{};
        for (std::size_t& limit : limits) limit = std::string_view::npos;
        return limits;
    }
};

// Inline, as the conversions split a line for every few dozen bytes they
// read: a call would cost about as much as the split. The last field counts
// unless it is empty: a separator at the very end opens no further field.
// Kept fields past the count keep what an earlier text left, as Field never
// reads them.
inline std::int64_t WordSplitter::SplitMarked(std::string_view block, std::size_t begin, std::size_t end,
                                              const std::uint64_t* separators) {
    OutOfRange = false;
    inPieces_ = false;
    rest_ = {};
    size_ = end - begin;
    if (begin == end) return count_ = 0;
    const char* const data = block.data();
    std::size_t fieldBegin = begin;
    std::size_t kept = 0;
    std::int64_t beyond = 0;  // separators past the kept fields
    const std::size_t last = (end - 1) / 64;
    std::uint64_t bits = separators[begin / 64] & (~std::uint64_t{0} << (begin % 64));
    for (std::size_t w = begin / 64;; bits = separators[++w]) {
        if (w == last) bits &= ~std::uint64_t{0} >> (63 - (end - 1) % 64);
        for (; bits != 0 && kept < kKeptFields; bits &= bits - 1) {
            const std::size_t at = 64 * w + static_cast<std::size_t>(__builtin_ctzll(bits));
            fields_[kept++] = std::string_view(data + fieldBegin, at - fieldBegin);
            fieldBegin = at + 1;
        }
        for (; bits != 0; bits &= bits - 1) ++beyond;
        if (w == last) break;
    }
    const bool lastField = data[end - 1] != Separator;
    if (kept < kKeptFields) {
        if (lastField) fields_[kept] = std::string_view(data + fieldBegin, end - fieldBegin);
    } else {
        rest_ = std::string_view(data + fieldBegin, end - fieldBegin);
    }
    return count_ = static_cast<std::int64_t>(kept) + beyond + (lastField ? 1 : 0);
}

}  // namespace iwv
