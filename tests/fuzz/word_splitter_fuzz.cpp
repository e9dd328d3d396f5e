// Splits arbitrary text of one line (its CR, LF and NUL bytes made spaces) at
// ';' or ',' (picked by the first byte), whole as the line scanner splits it
// and in pieces cut where the second byte says, and checks the field count,
// that the fields join back into the text, the out-of-range reads, and that a
// splitter used before gives the same fields as a new one.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Property.h"
#include "common/Words.h"
#include "support/ScannedLine.h"

namespace {

using iwv::WordSplitter;
using iwv::fuzz::CountOf;
using iwv::fuzz::Require;

WordSplitter Splitter(char separator) {
    WordSplitter splitter;
    splitter.Separator = separator;
    return splitter;
}

std::int64_t ExpectedCount(std::string_view text, char separator) {
    if (text.empty()) return 0;
    const auto separators = static_cast<std::int64_t>(CountOf(text, separator));
    return text.back() == separator ? separators : separators + 1;
}

std::string Joined(WordSplitter& splitter, char separator) {
    std::string joined;
    for (int i = 0; i < splitter.Count(); ++i) {
        if (i > 0) joined.push_back(separator);
        joined.append(splitter.Field(i));
    }
    return joined;
}

void CheckFields(WordSplitter& splitter, std::string_view text, char separator) {
    Require(splitter.Count() == ExpectedCount(text, separator), "count is separators + 1, less a trailing one");
    Require(!splitter.OutOfRange, "a split clears OutOfRange");
    for (int i = 0; i < splitter.Count(); ++i)
        Require(splitter.Field(i).find(separator) == std::string_view::npos, "no field holds the separator");
    std::string_view withoutTrailing = text;
    if (!text.empty() && text.back() == separator) withoutTrailing.remove_suffix(1);
    Require(Joined(splitter, separator) == withoutTrailing, "the fields join back into the text");
    Require(!splitter.OutOfRange, "reading fields inside the range leaves OutOfRange clear");
}

void CheckOutOfRange(WordSplitter& splitter) {
    Require(splitter.Field(-1).empty() && !splitter.OutOfRange, "Field(-1) is empty and leaves OutOfRange clear");
    Require(splitter.Field(static_cast<int>(splitter.Count())).empty(), "the field past the end is empty");
    Require(splitter.OutOfRange, "the field past the end sets OutOfRange");
    Require(splitter.Field(-1).empty() && splitter.OutOfRange, "Field(-1) leaves a set OutOfRange set");
}

// The text fed in pieces of pieceSize bytes, each overwritten once fed, gives
// the count and kept fields of the whole text.
void CheckPieces(WordSplitter& whole, std::string_view text, char separator, std::size_t pieceSize) {
    WordSplitter pieces = Splitter(separator);
    pieces.Begin();
    for (std::size_t at = 0; at < text.size(); at += pieceSize) {
        std::string piece(text.substr(at, pieceSize));
        pieces.Feed(piece);
        piece.assign(piece.size(), separator);
    }
    Require(pieces.End() == whole.Count(), "pieces count like the whole text");
    const int kept = static_cast<int>(std::min<std::int64_t>(whole.Count(), WordSplitter::kKeptFields));
    for (int i = 0; i < kept; ++i) Require(pieces.Field(i) == whole.Field(i), "pieces keep the fields of the whole text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const char separator = (data[0] & 1) ? ';' : ',';
    const std::size_t pieceSize = 1 + data[1] % 16;
    std::string text(iwv::fuzz::Bytes(data + 2, size - 2));
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';

    WordSplitter fresh = Splitter(separator);
    iwv::ScannedLine line;
    line.Split(fresh, text);
    CheckFields(fresh, text, separator);
    CheckPieces(fresh, text, separator, pieceSize);
    CheckOutOfRange(fresh);

    // The conversions keep one splitter for a whole file: what an earlier,
    // longer split left behind must not show through.
    WordSplitter reused = Splitter(separator);
    iwv::ScannedLine earlier;
    earlier.Split(reused, text + separator + "left;over,fields" + separator);
    reused.Field(static_cast<int>(reused.Count()));
    Require(earlier.Split(reused, text) == fresh.Count(), "a used splitter counts like a new one");
    CheckFields(reused, text, separator);
    return 0;
}
