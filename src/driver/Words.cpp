#include "driver/Words.h"

namespace iwv {
namespace {

// Where separator first occurs in text; npos when it does not. An empty
// separator is never found (string_view would find it at 0).
std::size_t FindSeparator(std::string_view text, std::string_view separator) {
    if (separator.empty()) return std::string_view::npos;
    if (separator.size() == 1) return text.find(separator.front());
    return text.find(separator);
}

}  // namespace

int WordSplitter::Split(std::string_view text) {
    OutOfRange = false;
    LineList& fields = Lists[0];
    fields.Clear();
    Lists[1].Clear();
    while (!text.empty()) {
        const std::size_t at = FindSeparator(text, Separator);
        if (at == std::string_view::npos) {
            fields.Append(text);
            break;
        }
        fields.Append(text.substr(0, at));
        text.remove_prefix(at + 1);
    }
    return Count();
}

std::string_view WordSplitter::SplitText(std::string_view text) {
    Split(text);
    return text;
}

std::string WordSplitter::Field(int index) { return std::string(FieldView(index)); }

std::string_view WordSplitter::FieldView(int index) {
    if (index < 0) return {};
    if (index >= Count()) {
        OutOfRange = true;
        return {};
    }
    return Lists[0][static_cast<std::size_t>(index)];
}

int WordSplitter::Count() const { return static_cast<int>(Lists[0].Count()); }

}  // namespace iwv
