#include "export/LookupConverter.h"

#include <algorithm>
#include <string_view>

#include "common/LineFileConversion.h"
#include "common/LineFileWriter.h"
#include "common/Words.h"

namespace iwv {
namespace {

constexpr char kSeparator = ';';
constexpr int kIgnoredField = 0;
constexpr int kCodeField = 1;
constexpr int kNameField = 2;
constexpr int kPurchasePriceField = 3;
constexpr int kRetailPriceField = 4;
constexpr int kQuantityField = 5;

// The terminal's lookup fields are comma-separated and cannot quote: every
// comma of the name becomes a point.
template <typename Line>
void AppendName(const Line& line, const FieldText& name) {
    LineFileWriter& out = line.output;
    line.ForEachPiece(name, 0, name.size, [&out](std::string_view bytes) {
        std::size_t begin = 0;
        for (std::size_t at = 0; at < bytes.size(); ++at) {
            if (bytes[at] != ',') continue;
            out.Append(bytes.substr(begin, at - begin));
            out.Append('.');
            begin = at + 1;
        }
        out.Append(bytes.substr(begin));
    });
}

// Puts a decimal point `places` (at most 3) characters from the end of the
// field, padding with zeros after "0." when the field is not longer than
// that. Only the length counts: "0" and the empty text stay as they are,
// nothing is rounded or checked.
template <typename Line>
void AppendDecimal(const Line& line, const FieldText& number, std::size_t places) {
    LineFileWriter& out = line.output;
    if (number.size == 0 || number.held == "0") {
        line.Copy(number);
    } else if (number.size <= places) {
        out.Append('0');
        out.Append('.');
        for (std::uint64_t zeros = places - number.size; zeros > 0; --zeros) out.Append('0');
        line.Copy(number);
    } else {
        line.Copy(number, 0, number.size - places);
        out.Append('.');
        line.Copy(number, number.size - places, number.size);
    }
}

template <typename Line>
void AppendLookupLine(const Line& line, int priceField) {
    LineFileWriter& out = line.output;
    AppendName(line, line.Text(kNameField));
    out.Append(',');
    line.Copy(line.Text(kCodeField));
    out.Append(',');
    AppendDecimal(line, line.Text(kQuantityField), 3);
    out.Append(std::string_view(",0,", 3));
    AppendDecimal(line, line.Text(priceField), 2);
    out.EndLine();
}

}  // namespace

void LookupConverter::Convert(platform::FileSystem& files, const std::string& goodsPath, const std::string& lookupPath,
                              ConversionCounts& counts) const {
    const int priceField = PriceLevel == 1 ? kPurchasePriceField : kRetailPriceField;
    const int otherPriceField = PriceLevel == 1 ? kRetailPriceField : kPurchasePriceField;
    WordSplitter goods;
    goods.Separator = kSeparator;
    // The name keeps at most its first N characters; fields that the lookup
    // line does not take are not kept at all.
    goods.Limit(kNameField, static_cast<std::size_t>(std::max(NameLength, 0)));
    goods.Limit(kIgnoredField, 0);
    goods.Limit(otherPriceField, 0);

    ConvertLineFile(files, goodsPath, ReplacementTarget{lookupPath}, goods, counts, [&](const auto& line, ConversionCounts&) {
        AppendLookupLine(line, priceField);
    });
}

}  // namespace iwv
