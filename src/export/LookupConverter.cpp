#include "export/LookupConverter.h"

#include <algorithm>
#include <string_view>

#include "common/ByteSearch.h"
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
void AppendName(const ConvertedLine& line) {
    LineFileWriter& out = line.output;
    line.input.ForEachPiece(line.fields, kNameField, 0, line.Size(kNameField), [&out](std::string_view name) {
        std::size_t begin = 0;
        for (std::size_t comma = FindByte(name, 0, ','); comma < name.size(); comma = FindByte(name, begin, ',')) {
            out.Append(name.substr(begin, comma - begin));
            out.Append('.');
            begin = comma + 1;
        }
        out.Append(name.substr(begin));
    });
}

// Puts a decimal point `places` (at most 3) characters from the end of field
// index, padding with zeros after "0." when the field is not longer than
// that. Only the length counts: "0" and the empty text stay as they are,
// nothing is rounded or checked.
void AppendDecimal(const ConvertedLine& line, int index, std::size_t places) {
    LineFileWriter& out = line.output;
    const std::uint64_t size = line.Size(index);
    if (size == 0 || line.fields.Field(index) == "0") {
        line.Copy(index);
    } else if (size <= places) {
        out.Append('0');
        out.Append('.');
        for (std::uint64_t zeros = places - size; zeros > 0; --zeros) out.Append('0');
        line.Copy(index);
    } else {
        line.Copy(index, 0, size - places);
        out.Append('.');
        line.Copy(index, size - places, size);
    }
}

void AppendLookupLine(const ConvertedLine& line, int priceField) {
    LineFileWriter& out = line.output;
    AppendName(line);
    out.Append(',');
    line.Copy(kCodeField);
    out.Append(',');
    AppendDecimal(line, kQuantityField, 3);
    out.Append(std::string_view(",0,", 3));
    AppendDecimal(line, priceField, 2);
    out.EndLine();
}

}  // namespace

ConversionCounts LookupConverter::Convert(const std::string& goodsPath, const std::string& lookupPath,
                                          const platform::ReplacementFile::Opener& open) const {
    const int priceField = PriceLevel == 1 ? kPurchasePriceField : kRetailPriceField;
    const int otherPriceField = PriceLevel == 1 ? kRetailPriceField : kPurchasePriceField;
    WordSplitter goods;
    goods.Separator = kSeparator;
    // The name keeps at most its first N characters; fields that the lookup
    // line does not take are not kept at all.
    goods.Limit(kNameField, static_cast<std::size_t>(std::max(NameLength, 0)));
    goods.Limit(kIgnoredField, 0);
    goods.Limit(otherPriceField, 0);

    return ConvertLineFile(goodsPath, lookupPath, open, goods, [&](const ConvertedLine& line, ConversionCounts&) {
        AppendLookupLine(line, priceField);
    });
}

}  // namespace iwv
