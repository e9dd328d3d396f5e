#include "import/CountConverter.h"

#include <algorithm>
#include <cstdint>

#include "common/LineFileConversion.h"
#include "common/LineFileWriter.h"
#include "common/Words.h"

namespace iwv {
namespace {

constexpr char kSeparator = ',';
constexpr int kCodeField = 0;
constexpr int kQuantityField = 1;
constexpr int kCountLineFields = 2;
constexpr std::size_t kFractionDigits = 3;
constexpr std::string_view kZeros = "000";

// The terminal writes this for an item it holds but nobody counted.
constexpr std::string_view kNothingCounted = "00000";

// Where the first point of a quantity lies, from its first piece on; its
// size when it has none.
template <typename Line>
std::uint64_t FindPoint(const Line& line, const FieldText& quantity) {
    std::uint64_t point = quantity.size;
    std::uint64_t at = 0;
    line.ForEachPiece(quantity, 0, quantity.size, [&](std::string_view bytes) {
        const std::size_t found = point == quantity.size ? std::min(bytes.find('.'), bytes.size()) : bytes.size();
        if (found < bytes.size()) point = at + found;
        at += bytes.size();
    });
    return point;
}

// NormalizeQuantity for a quantity longer than the splitter holds, which is
// neither the point alone nor "00000": the same three parts, copied from the
// input.
template <typename Line>
void AppendLongQuantity(const Line& line, const FieldText& quantity) {
    const std::uint64_t point = FindPoint(line, quantity);
    if (point == quantity.size) {
        line.Copy(quantity);
        line.output.Append(kZeros);
        return;
    }
    line.Copy(quantity, 0, point);
    const auto fraction = static_cast<std::size_t>(std::min<std::uint64_t>(quantity.size - point - 1, kFractionDigits));
    line.Copy(quantity, point + 1, point + 1 + fraction);
    line.output.Append(kZeros.substr(fraction));
}

// Writes the count line of the terminal line split in fields, or counts why
// there is none.
template <typename Line>
void AppendCountLine(const Line& line, ConversionCounts& counts) {
    if (line.fields.Count() != kCountLineFields) {
        ++counts.wrongFieldCount;
        return;
    }
    const FieldText quantity = line.Text(kQuantityField);
    const bool held = !Line::kMayBeLong || quantity.held.size() == quantity.size;
    if (held && quantity.held == kNothingCounted) {
        ++counts.nothingCounted;
        return;
    }
    std::optional<NormalizedQuantity> thousandths;
    if (held && !(thousandths = NormalizeQuantity(quantity.held))) {
        ++counts.noValue;
        return;
    }
    LineFileWriter& out = line.output;
    out.Append(std::string_view("INW;", 4));
    line.Copy(line.Text(kCodeField));
    out.Append(';');
    if (thousandths) {
        out.Append(thousandths->whole);
        out.Append(thousandths->fraction);
        out.Append(thousandths->padding);
    } else {
        AppendLongQuantity(line, quantity);
    }
    out.EndLine();
}

}  // namespace

void CountConverter::Convert(platform::FileSystem& files, const std::string& terminalDataPath,
                             const ReplacementTarget& count, ConversionCounts& counts) {
    WordSplitter terminal;
    terminal.Separator = kSeparator;
    // A line of more than two fields gives nothing: no byte of a later field
    // is kept.
    for (int field = kCountLineFields; field < WordSplitter::kKeptFields; ++field) terminal.Limit(field, 0);

    ConvertLineFile(files, terminalDataPath, count, terminal, counts,
                           [](const auto& line, ConversionCounts& counts) { AppendCountLine(line, counts); });
}

std::optional<NormalizedQuantity> NormalizeQuantity(std::string_view quantity) {
    std::size_t point = 0;
    while (point < quantity.size() && quantity[point] != '.') ++point;
    if (point == quantity.size()) return NormalizedQuantity{quantity, {}, kZeros};
    if (quantity.size() == 1) return std::nullopt;
    const std::string_view fraction = quantity.substr(point + 1, kFractionDigits);
    return NormalizedQuantity{quantity.substr(0, point), fraction, kZeros.substr(fraction.size())};
}

}  // namespace iwv
