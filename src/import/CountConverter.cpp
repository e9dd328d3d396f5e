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

// Writes the count line of the terminal line split in fields, or counts why
// there is none.
template <typename Line>
void AppendCountLine(Line& line, ConversionCounts& counts) {
    if (line.fields.Count() != kCountLineFields) {
        ++counts.wrongFieldCount;
        return;
    }
    const FieldText quantity = line.Text(kQuantityField);
    // A quantity longer than what is kept of it is not "00000".
    if (quantity.kept.size() == quantity.size && quantity.kept == kNothingCounted) {
        ++counts.nothingCounted;
        return;
    }
    const std::optional<Thousandths> thousandths = ThousandthsOf(quantity.size, line.Find(quantity, '.'));
    if (!thousandths) {
        ++counts.noValue;
        return;
    }
    line.Append(std::string_view("INW;", 4));
    line.Copy(line.Text(kCodeField));
    line.Append(';');
    line.Copy(quantity, 0, thousandths->whole);
    line.Copy(quantity, thousandths->fractionFrom, thousandths->fractionFrom + thousandths->fraction);
    line.Append(kZeros.substr(0, thousandths->zeros));
    line.EndLine();
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
                    [](auto& line, ConversionCounts& counts) { AppendCountLine(line, counts); });
}

std::optional<Thousandths> ThousandthsOf(std::uint64_t size, std::uint64_t point) {
    if (point == size) return Thousandths{size, size, 0, kFractionDigits};
    if (size == 1) return std::nullopt;
    const std::uint64_t fraction = std::min<std::uint64_t>(size - point - 1, kFractionDigits);
    return Thousandths{point, point + 1, fraction, kFractionDigits - static_cast<std::size_t>(fraction)};
}

std::optional<NormalizedQuantity> NormalizeQuantity(std::string_view quantity) {
    std::size_t point = 0;
    while (point < quantity.size() && quantity[point] != '.') ++point;
    const std::optional<Thousandths> parts = ThousandthsOf(quantity.size(), point);
    if (!parts) return std::nullopt;
    return NormalizedQuantity{quantity.substr(0, parts->whole), quantity.substr(parts->fractionFrom, parts->fraction),
                              kZeros.substr(0, parts->zeros)};
}

}  // namespace iwv
