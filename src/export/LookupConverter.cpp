#include "export/LookupConverter.h"

#include <algorithm>

#include "common/ByteBuffer.h"
#include "common/LineFileReader.h"
#include "common/LineFileWriter.h"
#include "driver/Words.h"

namespace iwv {
namespace {

constexpr char kSeparator = ';';
constexpr int kCodeField = 1;
constexpr int kNameField = 2;
constexpr int kPurchasePriceField = 3;
constexpr int kRetailPriceField = 4;
constexpr int kQuantityField = 5;
// Fields after the quantity are never read, so never kept.
constexpr int kFieldsRead = kQuantityField + 1;

// A lookup line is at most this much longer than the fields it is made of:
// the number rules add up to four and three characters, the four commas and
// the constant "0" five more.
constexpr std::size_t kLineGrowth = 12;

// How many characters of a name the name rule keeps.
std::size_t NameKept(int nameLength) { return static_cast<std::size_t>(std::max(nameLength, 0)); }

void AppendName(ByteBuffer& out, std::string_view name, int nameLength) {
    const std::size_t start = out.Size();
    out.Append(name.substr(0, NameKept(nameLength)));
    // The terminal's lookup fields are comma-separated and cannot quote.
    char* const cut = out.Data() + start;
    for (std::size_t i = 0; i < out.Size() - start; ++i)
        if (cut[i] == ',') cut[i] = '.';
}

// Puts a decimal point `places` (at most 3) characters from the end, padding
// with zeros after "0." when the text is not longer than that. Only the length
// counts: "0" and the empty text stay as they are, nothing is rounded or checked.
void AppendDecimal(ByteBuffer& out, std::string_view text, std::size_t places) {
    if (text.empty() || text == "0") {
        out.Append(text);
    } else if (text.size() <= places) {
        out.Append("0.000", 2 + places - text.size());
        out.Append(text);
    } else {
        const std::size_t whole = text.size() - places;
        out.Append(text.substr(0, whole));
        out.Append('.');
        out.Append(text.substr(whole));
    }
}

void AppendThousandths(ByteBuffer& out, std::string_view text) { AppendDecimal(out, text, 3); }
void AppendHundredths(ByteBuffer& out, std::string_view text) { AppendDecimal(out, text, 2); }

}  // namespace

void LookupConverter::Convert(const std::string& goodsPath, const std::string& lookupPath,
                              const platform::ReplacementFile::Opener& open) const {
    // Read whole, written as converted: only the goods file's bytes are held
    // in memory.
    const LineFileReader goods(goodsPath);
    LineFileWriter lookup(lookupPath, open);
    ConvertInto(goods, lookup);
    lookup.Commit();
}

LineList LookupConverter::Convert(const LineList& goods) const {
    LineList lookup;
    lookup.Reserve(goods.Count(), goods.TextSize() + kLineGrowth * goods.Count());
    ConvertInto(goods, lookup);
    return lookup;
}

template <typename Goods, typename Lines>
void LookupConverter::ConvertInto(const Goods& goods, Lines& lines) const {
    // One line buffer for the whole file, so that no line allocates.
    ByteBuffer line;
    goods.ForEach([&](std::string_view goodsLine) {
        line.Clear();
        AppendLine(line, goodsLine);
        lines.Append(line.View());
    });
}

std::string LookupConverter::BuildLine(std::string_view goodsLine) const {
    ByteBuffer line;
    AppendLine(line, goodsLine);
    return line.String();
}

void LookupConverter::AppendLine(ByteBuffer& out, std::string_view goodsLine) const {
    std::string_view fields[kFieldsRead];
    SplitLeadingFields(goodsLine, kSeparator, fields, kFieldsRead);
    const std::string_view name = fields[kNameField].substr(0, NameKept(NameLength));
    const std::string_view price = fields[PriceLevel == 1 ? kPurchasePriceField : kRetailPriceField];
    // Room for the whole line at once: grown piece by piece, a line of
    // megabytes would pass through buffers of one and a half times its size.
    out.Reserve(name.size() + fields[kCodeField].size() + fields[kQuantityField].size() + price.size() + kLineGrowth);
    AppendName(out, name, NameLength);
    out.Append(',');
    out.Append(fields[kCodeField]);
    out.Append(',');
    AppendThousandths(out, fields[kQuantityField]);
    out.Append(",0,");
    AppendHundredths(out, price);
}

std::string ApplyNameRule(std::string_view name, int nameLength) {
    ByteBuffer out;
    AppendName(out, name, nameLength);
    return out.String();
}

std::string ThousandthsText(std::string_view text) {
    ByteBuffer out;
    AppendThousandths(out, text);
    return out.String();
}

std::string HundredthsText(std::string_view text) {
    ByteBuffer out;
    AppendHundredths(out, text);
    return out.String();
}

}  // namespace iwv
