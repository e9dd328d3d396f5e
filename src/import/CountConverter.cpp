#include "import/CountConverter.h"

#include "common/ByteBuffer.h"
#include "common/LineFileReader.h"
#include "common/LineFileWriter.h"
#include "driver/Words.h"

namespace iwv {
namespace {

constexpr char kSeparator = ',';
constexpr int kCodeField = 0;
constexpr int kQuantityField = 1;
constexpr int kCountLineFields = 2;
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
bool AppendCountLine(ByteBuffer& out, std::string_view terminalLine) {
    // Only lines of exactly two fields count, so a third is never kept.
    std::string_view fields[kCountLineFields];
    if (SplitLeadingFields(terminalLine, kSeparator, fields, kCountLineFields) != kCountLineFields) return false;
    const std::string_view quantity = fields[kQuantityField];
    if (quantity == kNothingCounted) return false;
    const std::size_t start = out.Size();
    // Room for the whole line at once: grown piece by piece, a line of
    // megabytes would pass through buffers of one and a half times its size.
    out.Reserve(terminalLine.size() + kLineGrowth);
    out.Append("INW;");
    out.Append(fields[kCodeField]);
    out.Append(';');
    if (AppendNormalizedQuantity(out, quantity)) return true;
    out.Truncate(start);
    return false;
}

// Appends the count line of every usable terminal line (of a LineList or a
// LineFileReader) to countLines (a LineList or a LineFileWriter).
template <typename TerminalLines, typename CountLines>
void ConvertInto(const TerminalLines& terminalLines, CountLines& countLines) {
    // One line buffer for the whole file, so that no line allocates.
    ByteBuffer line;
    terminalLines.ForEach([&](std::string_view terminalLine) {
        line.Clear();
        if (AppendCountLine(line, terminalLine)) countLines.Append(line.View());
    });
}

}  // namespace

void CountConverter::Convert(const std::string& terminalDataPath, const std::string& countPath,
                             const platform::ReplacementFile::Opener& open) {
    // Read whole, written as converted: only the terminal data's bytes are
    // held in memory.
    const LineFileReader terminalLines(terminalDataPath);
    LineFileWriter countFile(countPath, open);
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
