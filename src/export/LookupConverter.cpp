#include "export/LookupConverter.h"

#include <algorithm>

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

void AppendName(std::string& out, std::string_view name, int nameLength) {
    const std::size_t keep = static_cast<std::size_t>(std::max(nameLength, 0));
    const std::size_t start = out.size();
    out.append(name.substr(0, keep));
    // The terminal's lookup fields are comma-separated and cannot quote.
    std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), ',', '.');
}

// Puts a decimal point `places` characters from the end, padding with zeros
// after "0." when the text is not longer than that. Only the length counts:
// "0" and the empty text stay as they are, nothing is rounded or checked.
void AppendDecimal(std::string& out, std::string_view text, std::size_t places) {
    if (text.empty() || text == "0") {
        out.append(text);
    } else if (text.size() <= places) {
        out.append("0.").append(places - text.size(), '0').append(text);
    } else {
        const std::size_t whole = text.size() - places;
        out.append(text.substr(0, whole)).append(1, '.').append(text.substr(whole));
    }
}

void AppendThousandths(std::string& out, std::string_view text) { AppendDecimal(out, text, 3); }
void AppendHundredths(std::string& out, std::string_view text) { AppendDecimal(out, text, 2); }

WordSplitter GoodsFieldSplitter() {
    WordSplitter fields;
    fields.Separator = ";";
    return fields;
}

}  // namespace

void LookupConverter::Convert(const std::string& goodsPath, const std::string& lookupPath) const {
    const LineList goods = LineList::Load(goodsPath);
    Convert(goods).Save(lookupPath);
}

LineList LookupConverter::Convert(const LineList& goods) const {
    LineList lookup;
    // An upper bound: pages reserved but never written cost no memory.
    lookup.Reserve(goods.Count(), goods.TextSize() + kLineGrowth * goods.Count());
    // One splitter and one line buffer for the whole file: a split clears the
    // fields but keeps their storage, so no line allocates.
    WordSplitter fields = GoodsFieldSplitter();
    std::string line;
    for (std::size_t i = 0; i < goods.Count(); ++i) {
        line.clear();
        AppendLine(line, fields, goods[i]);
        lookup.Append(line);
    }
    return lookup;
}

std::string LookupConverter::BuildLine(std::string_view goodsLine) const {
    WordSplitter fields = GoodsFieldSplitter();
    std::string line;
    AppendLine(line, fields, goodsLine);
    return line;
}

void LookupConverter::AppendLine(std::string& out, WordSplitter& fields, std::string_view goodsLine) const {
    fields.SplitText(goodsLine);
    AppendName(out, fields.FieldView(kNameField), NameLength);
    out.append(1, ',').append(fields.FieldView(kCodeField)).append(1, ',');
    AppendThousandths(out, fields.FieldView(kQuantityField));
    out.append(",0,");
    AppendHundredths(out, fields.FieldView(PriceLevel == 1 ? kPurchasePriceField : kRetailPriceField));
}

std::string ApplyNameRule(std::string_view name, int nameLength) {
    std::string out;
    AppendName(out, name, nameLength);
    return out;
}

std::string ThousandthsText(std::string_view text) {
    std::string out;
    AppendThousandths(out, text);
    return out;
}

std::string HundredthsText(std::string_view text) {
    std::string out;
    AppendHundredths(out, text);
    return out;
}

}  // namespace iwv
