#include "import/CountConverter.h"

#include "common/ByteSearch.h"
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
void AppendCountLine(WordSplitter& terminal, LineFileWriter& out, ConversionCounts& counts) {
    if (terminal.Count() != kCountLineFields) {
        ++counts.wrongFieldCount;
        return;
    }
    const std::string_view quantity = terminal.Field(kQuantityField);
    if (quantity == kNothingCounted) {
        ++counts.nothingCounted;
        return;
    }
    const std::optional<NormalizedQuantity> thousandths = NormalizeQuantity(quantity);
    if (!thousandths) {
        ++counts.noValue;
        return;
    }
    out.Append(std::string_view("INW;", 4));
    out.Append(terminal.Field(kCodeField));
    out.Append(';');
    out.Append(thousandths->whole);
    out.Append(thousandths->fraction);
    out.Append(thousandths->padding);
    out.EndLine();
}

}  // namespace

ConversionCounts CountConverter::Convert(const std::string& terminalDataPath, const std::string& countPath,
                                         const platform::ReplacementFile::Opener& open) {
    WordSplitter terminal;
    terminal.Separator = kSeparator;
    // A line of more than two fields gives nothing: no byte of a later field
    // is kept.
    for (int field = kCountLineFields; field < WordSplitter::kKeptFields; ++field) terminal.Limit(field, 0);

    return ConvertLineFile(terminalDataPath, countPath, open, terminal,
                           [&](LineFileWriter& count, ConversionCounts& counts) {
                               AppendCountLine(terminal, count, counts);
                           });
}

std::optional<NormalizedQuantity> NormalizeQuantity(std::string_view quantity) {
    const std::size_t point = FindByte(quantity, 0, '.');
    if (point == quantity.size()) return NormalizedQuantity{quantity, {}, kZeros};
    if (quantity.size() == 1) return std::nullopt;
    const std::string_view fraction = quantity.substr(point + 1, kFractionDigits);
    return NormalizedQuantity{quantity.substr(0, point), fraction, kZeros.substr(fraction.size())};
}

}  // namespace iwv
