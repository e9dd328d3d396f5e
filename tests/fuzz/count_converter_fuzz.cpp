// Converts arbitrary terminal data and checks every count line against the
// terminal line it must come from, found by counting commas rather than with
// the splitter the conversion uses.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Property.h"
#include "common/LineList.h"
#include "import/CountConverter.h"

namespace {

using iwv::LineList;
using iwv::fuzz::CountOf;
using iwv::fuzz::Require;

// Exactly two fields: one ',' not at the end, or two with the second at the
// end (a ',' that ends the line opens no field).
bool HasTwoFields(std::string_view line) {
    const std::size_t commas = CountOf(line, ',');
    const bool trailing = !line.empty() && line.back() == ',';
    return (commas == 1 && !trailing) || (commas == 2 && trailing);
}

// The count line a terminal line gives, if any.
std::optional<std::string> ExpectedCountLine(std::string_view line) {
    if (!HasTwoFields(line)) return std::nullopt;
    const std::size_t comma = line.find(',');
    const std::string_view code = line.substr(0, comma);
    std::string_view quantity = line.substr(comma + 1);
    if (!quantity.empty() && quantity.back() == ',') quantity.remove_suffix(1);
    if (quantity == "00000") return std::nullopt;
    const std::optional<std::string> normalized = iwv::NormalizeQuantity(quantity);
    if (!normalized) return std::nullopt;
    return "INW;" + std::string(code) + ";" + *normalized;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const LineList terminal = LineList::FromBytes(iwv::fuzz::Bytes(data, size));
    const LineList counts = iwv::CountConverter::Convert(terminal);
    Require(counts.Count() <= terminal.Count(), "no more count lines than terminal lines");
    for (std::size_t i = 0; i < counts.Count(); ++i) {
        Require(counts[i].substr(0, 4) == "INW;", "every count line starts with INW;");
    }
    std::size_t next = 0;
    for (std::size_t i = 0; i < terminal.Count(); ++i) {
        const std::optional<std::string> expected = ExpectedCountLine(terminal[i]);
        if (!expected) continue;
        Require(next < counts.Count(), "every usable terminal line gives a count line");
        Require(counts[next] == *expected, "the count line of a usable line, in file order");
        ++next;
    }
    Require(next == counts.Count(), "count lines come only from two-field lines");
    return 0;
}
