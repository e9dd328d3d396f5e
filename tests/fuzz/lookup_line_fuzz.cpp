// Converts a goods file of arbitrary bytes, with a name length and price level
// picked by the first byte, and checks every lookup line against the goods
// line it must come from, found by the plain readings of the line and field
// rules rather than by the reader and splitter the conversion uses.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Property.h"
#include "Reference.h"
#include "export/LookupConverter.h"

namespace {

using iwv::LookupConverter;
using iwv::fuzz::CountOf;
using iwv::fuzz::Require;

constexpr std::array<int, 5> kNameLengths = {10, 15, 20, 25, 30};

LookupConverter ConverterFor(std::uint8_t choice) {
    return LookupConverter{kNameLengths[(choice >> 1) % kNameLengths.size()], choice & 1};
}

// Goods field `index` read without the splitter: a field past the end, and
// the one a trailing ';' would open, are both empty.
std::string_view GoodsField(std::string_view line, int index) {
    for (int i = 0; i < index; ++i) {
        const std::size_t at = line.find(';');
        if (at == std::string_view::npos) return {};
        line.remove_prefix(at + 1);
    }
    return line.substr(0, line.find(';'));
}

// The decimal text of a whole number of 10^-places units: the point stands
// `places` characters from the end, with "0." and zeros in front of a short
// text; "0" and the empty text pass as they are.
void CheckDecimal(std::string_view whole, const std::string& decimal, std::size_t places) {
    if (whole.empty() || whole == "0") {
        Require(decimal == whole, "\"0\" and the empty text pass unchanged");
        return;
    }
    Require(decimal.size() == std::max(whole.size() + 1, places + 2), "one point, and \"0.\" before a short text");
    const std::size_t fractionStart = decimal.size() - places;
    Require(decimal[fractionStart - 1] == '.', "the point stands `places` characters from the end");
    const std::string_view intPart = std::string_view(decimal).substr(0, fractionStart - 1);
    const std::string_view fraction = std::string_view(decimal).substr(fractionStart);
    if (whole.size() > places) {
        Require(std::string(intPart).append(fraction) == whole, "a long text only gains the point");
    } else {
        Require(intPart == "0", "a short text gets a whole part of 0");
        Require(fraction == std::string(places - whole.size(), '0').append(whole), "a short text is padded with zeros");
    }
}

std::size_t DecimalLength(std::string_view whole, std::size_t places) {
    if (whole.empty() || whole == "0") return whole.size();
    return std::max(whole.size() + 1, places + 2);
}

void CheckName(std::string_view name, std::string_view goodsName, int nameLength) {
    Require(name.size() <= static_cast<std::size_t>(nameLength), "the name has at most N bytes");
    Require(name.find(',') == std::string_view::npos, "the name holds no ','");
    Require(name.size() == std::min(goodsName.size(), static_cast<std::size_t>(nameLength)),
            "the name keeps exactly its first N characters");
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char expected = goodsName[i] == ',' ? '.' : goodsName[i];
        Require(name[i] == expected, "the name is unchanged but for ',' turned to '.'");
    }
}

void CheckFieldLayout(std::string_view lookup, std::string_view code, std::string_view quantity,
                      std::string_view price) {
    const std::size_t passedCommas = CountOf(code, ',') + CountOf(quantity, ',') + CountOf(price, ',');
    Require(CountOf(lookup, ',') == 4 + passedCommas, "five fields, more only for commas passed through");
    if (passedCommas != 0) return;
    std::vector<std::string_view> fields;
    std::string_view rest = lookup;
    for (std::size_t at = rest.find(','); at != std::string_view::npos; at = rest.find(',')) {
        fields.push_back(rest.substr(0, at));
        rest.remove_prefix(at + 1);
    }
    fields.push_back(rest);
    Require(fields.size() == 5, "exactly five fields");
    Require(fields[1] == code, "the second field is the code");
    Require(fields[3] == "0", "the fourth field is the constant 0");
}

void CheckLine(const LookupConverter& converter, std::string_view goods, std::string_view lookup) {
    const std::string_view code = GoodsField(goods, 1);
    const std::string_view quantity = GoodsField(goods, 5);
    const std::string_view price = GoodsField(goods, converter.PriceLevel == 1 ? 3 : 4);

    const std::string_view name = lookup.substr(0, lookup.find(','));
    CheckName(name, GoodsField(goods, 2), converter.NameLength);
    CheckFieldLayout(lookup, code, quantity, price);

    // The code stands whole after the name; the decimal texts' lengths follow
    // from their fields' lengths alone, commas in them or not.
    std::string_view tail = lookup.substr(name.size());
    Require(tail.substr(0, code.size() + 2) == std::string(1, ',').append(code) + ",", "the code after the name");
    tail.remove_prefix(code.size() + 2);
    const std::string_view quantityText = tail.substr(0, DecimalLength(quantity, 3));
    tail.remove_prefix(quantityText.size());
    Require(tail.substr(0, 3) == ",0,", "the constant 0 after the quantity");
    const std::string_view priceText = tail.substr(3);
    CheckDecimal(quantity, std::string(quantityText), 3);
    CheckDecimal(price, std::string(priceText), 2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const LookupConverter converter = ConverterFor(data[0]);
    const std::string_view bytes = iwv::fuzz::Bytes(data + 1, size - 1);
    const auto& dir = iwv::fuzz::ScratchDirectory();
    iwv::fuzz::WriteFile(dir / "goods.txt", bytes);
    const iwv::ConversionCounts counts = converter.Convert(iwv::platform::SystemFileSystem(), (dir / "goods.txt").string(), (dir / "inwout.txt").string());

    const std::vector<std::string> goods = iwv::fuzz::ReferenceLines(bytes);
    bool wellFormed = false;
    const std::vector<std::string> lookup = iwv::fuzz::WrittenLines(iwv::fuzz::ReadFile(dir / "inwout.txt"), wellFormed);
    Require(wellFormed, "every lookup line ends with CR LF and holds no other line end");
    Require(lookup.size() == goods.size(), "one lookup line for every goods line");
    Require(counts.read == goods.size() && counts.written == lookup.size(), "the counts are the lines");
    for (std::size_t i = 0; i < goods.size(); ++i) CheckLine(converter, goods[i], lookup[i]);
    return 0;
}
