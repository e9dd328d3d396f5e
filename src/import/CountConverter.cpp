#include "import/CountConverter.h"

#include "common/ByteBuffer.h"
#include "common/LineFileWriter.h"
#include "driver/Words.h"

namespace iwv {
namespace {

constexpr int kCodeField = 0;
constexpr int kQuantityField = 1;
constexpr std::size_t kFractionDigits = 3;
constexpr const char* kZeros = "000";

// The terminal writes this for an item it holds but nobody counted.
constexpr std::string_view kNothingCounted = "00000";

// "INW;" and ";" plus at most three zeros, less the comma of the terminal line.
constexpr std::size_t kLineGrowth = 7;

// Appends the quantity in thousandths: the text before the first point as it
// stands, then exactly three characters of fraction, padded with zeros or cut
// (never rounded). False, with out unchanged, for the point alone.
bool AppendNormalizedQuantity(ByteBuffer& out, std::string_view quantity) {
    const std::size_t point = quantity.find('.');
    if (point == std::string_view::npos) {
        out.Append(quantity);
        out.Append(kZeros, kFractionDigits);
        return true;
    }
    if (quantity.size() == 1) return false;
    const std::string_view fraction = quantity.substr(point + 1, kFractionDigits);
    out.Append(quantity.substr(0, point));
    out.Append(fraction);
    out.Append(kZeros, kFractionDigits - fraction.size());
    return true;
}

// Appends the count line of one terminal line; false, with out unchanged,
// when the line gives none.
bool AppendCountLine(ByteBuffer& out, WordSplitter& fields, std::string_view terminalLine) {
    fields.SplitText(terminalLine);
    if (fields.Count() != 2) return false;
    const std::string_view quantity = fields.FieldView(kQuantityField);
    if (quantity == kNothingCounted) return false;
    const std::size_t start = out.Size();
    out.Append("INW;");
    out.Append(fields.FieldView(kCodeField));
    out.Append(';');
    if (AppendNormalizedQuantity(out, quantity)) return true;
    out.Truncate(start);
    return false;
}

// Appends the count line of every usable terminal line to countLines (a
// LineList or a LineFileWriter).
template <typename Lines>
void ConvertInto(const LineList& terminalLines, Lines& countLines) {
    // One splitter and one line buffer for the whole file: a split clears the
    // fields but keeps their storage, so no line allocates.
    WordSplitter fields;
    fields.Separator = ",";
    ByteBuffer line;
    for (std::size_t i = 0; i < terminalLines.Count(); ++i) {
        line.Clear();
        if (AppendCountLine(line, fields, terminalLines[i])) countLines.Append(line.View());
    }
}

}  // namespace

void CountConverter::Convert(const std::string& terminalDataPath, const std::string& countPath) {
    const LineList terminalLines = LineList::Load(terminalDataPath);
    // Written as converted: only the terminal data is held in memory.
    LineFileWriter countFile(countPath);
    ConvertInto(terminalLines, countFile);
    countFile.Commit();
}

LineList CountConverter::Convert(const LineList& terminalLines) {
    LineList countLines;
    countLines.Reserve(terminalLines.Count(), terminalLines.TextSize() + kLineGrowth * terminalLines.Count());
    ConvertInto(terminalLines, countLines);
    return countLines;
}

std::optional<std::string> NormalizeQuantity(std::string_view quantity) {
    ByteBuffer out;
    if (!AppendNormalizedQuantity(out, quantity)) return std::nullopt;
    return out.String();
}

}  // namespace iwv
