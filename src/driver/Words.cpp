#include "driver/Words.h"

namespace iwv {
namespace {

// Where separator first occurs in text; npos when it does not. An empty
// separator is never found (string_view would find it at 0).
std::size_t FindSeparator(std::string_view text, std::string_view separator) {
    if (separator.empty()) return std::string_view::npos;
    return text.find(separator);
}

// Hands the fields of text at a one-character separator to onField, in order,
// until it returns false: each separator ends a field, and one at the very end
// opens no further field. One pass, the same fields as the general loop below
// gives, at a fraction of the cost of a search call per field on the short
// fields of goods and terminal lines.
template <typename OnField>
void ForEachFieldAt(std::string_view text, char separator, OnField onField) {
    std::size_t begin = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != separator) continue;
        if (!onField(text.substr(begin, i - begin))) return;
        begin = i + 1;
    }
    if (begin < text.size()) onField(text.substr(begin));
}

void SplitAtCharacter(std::string_view text, char separator, LineList& fields) {
    ForEachFieldAt(text, separator, [&](std::string_view field) {
        fields.Append(field);
        return true;
    });
}

// The algorithm for any separator: after each field only the separator's
// first character is consumed.
void SplitAtText(std::string_view text, std::string_view separator, LineList& fields) {
    while (!text.empty()) {
        const std::size_t at = FindSeparator(text, separator);
        if (at == std::string_view::npos) {
            fields.Append(text);
            return;
        }
        fields.Append(text.substr(0, at));
        text.remove_prefix(at + 1);
    }
}

}  // namespace

int WordSplitter::Split(std::string_view text) {
    OutOfRange = false;
    Lists[0].Clear();
    Lists[1].Clear();
    if (Separator.size() == 1)
        SplitAtCharacter(text, Separator.front(), Lists[0]);
    else
        SplitAtText(text, Separator, Lists[0]);
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

int SplitLeadingFields(std::string_view text, char separator, std::string_view* fields, int wanted) {
    for (int i = 0; i < wanted; ++i) fields[i] = {};
    int count = 0;
    ForEachFieldAt(text, separator, [&](std::string_view field) {
        if (count < wanted) fields[count] = field;
        return ++count <= wanted;
    });
    return count;
}

}  // namespace iwv
