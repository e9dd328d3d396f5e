#include "import/CountConverter.h"

#include "driver/Words.h"

namespace iwv {
namespace {

constexpr int kCodeField = 0;
constexpr int kQuantityField = 1;
constexpr std::size_t kFractionDigits = 3;

// The terminal writes this for an item it holds but nobody counted.
constexpr std::string_view kNothingCounted = "00000";

// "INW;" and ";" plus at most three zeros, less the comma of the terminal line.
constexpr std::size_t kLineGrowth = 7;

// Appends the quantity in thousandths: the text before the first point as it
// stands, then exactly three characters of fraction, padded with zeros or cut
// (never rounded). False, with out unchanged, for the point alone.
bool AppendNormalizedQuantity(std::string& out, std::string_view quantity) {
    const std::size_t point = quantity.find('.');
    if (point == std::string_view::npos) {
        out.append(quantity).append(kFractionDigits, '0');
        return true;
    }
    if (quantity.size() == 1) return false;
    const std::string_view fraction = quantity.substr(point + 1, kFractionDigits);
    out.append(quantity.substr(0, point)).append(fraction).append(kFractionDigits - fraction.size(), '0');
    return true;
}

// Appends the count line of one terminal line; false, with out unchanged,
// when the line gives none.
bool AppendCountLine(std::string& out, WordSplitter& fields, std::string_view terminalLine) {
    fields.SplitText(terminalLine);
    if (fields.Count() != 2) return false;
    const std::string_view quantity = fields.FieldView(kQuantityField);
    if (quantity == kNothingCounted) return false;
    const std::size_t start = out.size();
    out.append("INW;").append(fields.FieldView(kCodeField)).append(1, ';');
    if (AppendNormalizedQuantity(out, quantity)) return true;
    out.resize(start);
    return false;
}

}  // namespace

void CountConverter::Convert(const std::string& terminalDataPath, const std::string& countPath) {
    const LineList terminalLines = LineList::Load(terminalDataPath);
    Convert(terminalLines).Save(countPath);
}

LineList CountConverter::Convert(const LineList& terminalLines) {
    LineList countLines;
    // An upper bound: pages reserved but never written cost no memory.
    countLines.Reserve(terminalLines.Count(), terminalLines.TextSize() + kLineGrowth * terminalLines.Count());
    // One splitter and one line buffer for the whole file: a split clears the
    // fields but keeps their storage, so no line allocates.
    WordSplitter fields;
    fields.Separator = ",";
    std::string line;
    for (std::size_t i = 0; i < terminalLines.Count(); ++i) {
        line.clear();
        if (AppendCountLine(line, fields, terminalLines[i])) countLines.Append(line);
    }
    return countLines;
}

std::optional<std::string> NormalizeQuantity(std::string_view quantity) {
    std::string out;
    if (!AppendNormalizedQuantity(out, quantity)) return std::nullopt;
    return out;
}

}  // namespace iwv
