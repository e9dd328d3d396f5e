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

constexpr std::string_view kZeros = "00";

// Puts a decimal point `places` (at most 3) characters from the end of the
// field, padding with zeros after "0." when the field is not longer than
// that. Only the length counts: "0" and the empty text stay as they are,
// nothing is rounded or checked.
template <typename Line>
void AppendDecimal(Line& line, const FieldText& number, std::size_t places) {
    if (number.size == 0 || number.kept == "0") {
        line.Copy(number);
    } else if (number.size <= places) {
        line.Append(std::string_view("0.", 2));
        line.Append(kZeros.substr(0, places - static_cast<std::size_t>(number.size)));
        line.Copy(number);
    } else {
        line.Copy(number, 0, number.size - places);
        line.Append('.');
        line.Copy(number, number.size - places, number.size);
    }
}

// The terminal's lookup fields are comma-separated and cannot quote: every
// comma of the name becomes a point.
template <typename Line>
void AppendLookupLine(Line& line, int priceField) {
    line.CopyReplacing(line.Text(kNameField), ',', '.');
    line.Append(',');
    line.Copy(line.Text(kCodeField));
    line.Append(',');
    AppendDecimal(line, line.Text(kQuantityField), 3);
    line.Append(std::string_view(",0,", 3));
    AppendDecimal(line, line.Text(priceField), 2);
    line.EndLine();
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

    ConvertLineFile(files, goodsPath, ReplacementTarget{lookupPath}, goods, counts, [&](auto& line, ConversionCounts&) {
        AppendLookupLine(line, priceField);
    });
}

}  // namespace iwv
