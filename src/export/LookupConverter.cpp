#include "export/LookupConverter.h"

#include <algorithm>

#include "common/ByteBuffer.h"
#include "common/LineFileWriter.h"
#include "driver/Words.h"

namespace iwv {
namespace {

constexpr int kCodeField = 1;
constexpr int kNameField = 2;
constexpr int kPurchasePriceField = 3;
constexpr int kRetailPriceField = 4;
constexpr int kQuantityField = 5;

// A lookup line is at most this much longer than the fields it is made of:
// the number rules add up to four and three characters, the four commas and
// the constant "0" five more.
constexpr std::size_t kLineGrowth = 12;

void AppendName(ByteBuffer& out, std::string_view name, int nameLength) {
    const std::size_t keep = static_cast<std::size_t>(std::max(nameLength, 0));
    const std::size_t start = out.Size();
    out.Append(name.substr(0, keep));
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

WordSplitter GoodsFieldSplitter() {
    WordSplitter fields;
    fields.Separator = ";";
    return fields;
}

}  // namespace

void LookupConverter::Convert(const std::string& goodsPath, const std::string& lookupPath) const {
    const LineList goods = LineList::Load(goodsPath);
    // Written as converted: only the goods file is held in memory.
    LineFileWriter lookup(lookupPath);
    ConvertInto(goods, lookup);
    lookup.Commit();
}

LineList LookupConverter::Convert(const LineList& goods) const {
    LineList lookup;
    lookup.Reserve(goods.Count(), goods.TextSize() + kLineGrowth * goods.Count());
    ConvertInto(goods, lookup);
    return lookup;
}

template <typename Lines>
void LookupConverter::ConvertInto(const LineList& goods, Lines& lines) const {
    // One splitter and one line buffer for the whole file: a split clears the
    // fields but keeps their storage, so no line allocates.
    WordSplitter fields = GoodsFieldSplitter();
    ByteBuffer line;
    for (std::size_t i = 0; i < goods.Count(); ++i) {
        line.Clear();
        AppendLine(line, fields, goods[i]);
        lines.Append(line.View());
    }
}

std::string LookupConverter::BuildLine(std::string_view goodsLine) const {
    WordSplitter fields = GoodsFieldSplitter();
    ByteBuffer line;
    AppendLine(line, fields, goodsLine);
    return line.String();
}

void LookupConverter::AppendLine(ByteBuffer& out, WordSplitter& fields, std::string_view goodsLine) const {
    fields.SplitText(goodsLine);
    AppendName(out, fields.FieldView(kNameField), NameLength);
    out.Append(',');
    out.Append(fields.FieldView(kCodeField));
    out.Append(',');
    AppendThousandths(out, fields.FieldView(kQuantityField));
    out.Append(",0,");
    AppendHundredths(out, fields.FieldView(PriceLevel == 1 ? kPurchasePriceField : kRetailPriceField));
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
