#include "common/Words.h"

#include <algorithm>

namespace iwv {
namespace {

// Where separator first occurs in text; text's size when it does not. '\0'
// is never found.
std::size_t Find(std::string_view text, char separator) {
    return separator == '\0' ? text.size() : std::min(text.find(separator), text.size());
}

std::int64_t Occurrences(std::string_view text, char separator) {
    return separator == '\0' ? 0 : std::count(text.begin(), text.end(), separator);
}

}  // namespace

std::string_view WordSplitter::OtherField(int index) {
    if (index < 0) return {};
    if (index >= count_) {
        OutOfRange = true;
        return {};
    }
    if (inPieces_) return {};
    std::string_view rest = rest_;
    // index is below the count, so every separator skipped here is there.
    for (int i = kKeptFields; i < index; ++i) rest.remove_prefix(Find(rest, Separator) + 1);
    return rest.substr(0, Find(rest, Separator));
}

void WordSplitter::Limit(int index, std::size_t bytes) { limits_.at(static_cast<std::size_t>(index)) = bytes; }

void WordSplitter::Begin(std::uint64_t start) {
    OutOfRange = false;
    inPieces_ = true;
    fields_ = {};
    count_ = 0;
    rest_ = {};
    for (ByteBuffer& kept : kept_) kept.Clear();
    starts_.fill(start);
    sizes_.fill(0);
    fed_ = start;
    separators_ = 0;
    anyBytes_ = false;
    endsWithSeparator_ = false;
}

void WordSplitter::Feed(std::string_view piece) {
    if (piece.empty()) return;
    anyBytes_ = true;
    endsWithSeparator_ = Separator != '\0' && piece.back() == Separator;
    std::uint64_t at = fed_;
    fed_ += piece.size();
    while (separators_ < kKeptFields) {
        const std::size_t end = Find(piece, Separator);
        Keep(separators_, piece.substr(0, end));
        if (end == piece.size()) return;
        ++separators_;
        piece.remove_prefix(end + 1);
        at += end + 1;
        if (separators_ < kKeptFields) starts_[static_cast<std::size_t>(separators_)] = at;
    }
    separators_ += Occurrences(piece, Separator);
}

std::int64_t WordSplitter::End() {
    count_ = anyBytes_ ? separators_ + (endsWithSeparator_ ? 0 : 1) : 0;
    for (std::size_t i = 0; i < kept_.size(); ++i) fields_[i] = kept_[i].View();
    return count_;
}

void WordSplitter::Keep(std::int64_t index, std::string_view bytes) {
    const auto i = static_cast<std::size_t>(index);
    sizes_[i] += bytes.size();
    ByteBuffer& kept = kept_[i];
    const std::size_t most = std::min(limits_[i], kKeptBytes);
    if (kept.Size() < most) kept.Append(bytes.substr(0, most - kept.Size()));
}

}  // namespace iwv
