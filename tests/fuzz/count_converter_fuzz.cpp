// Converts a terminal data file of arbitrary bytes and checks every count
// line against the terminal line it must come from, found by the plain
// reading of the line rules and by counting commas rather than by the reader
// and splitter the conversion uses.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Property.h"
#include "Reference.h"
#include "import/CountConverter.h"

namespace {

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
    if (quantity == ".") return std::nullopt;
    // The quantity in thousandths: the first point goes, the fraction is cut
    // or padded to three characters.
    const std::size_t point = quantity.find('.');
    std::string thousandths(quantity.substr(0, point));
    if (point == std::string_view::npos) {
        thousandths += "000";
    } else {
        std::string fraction(quantity.substr(point + 1, 3));
        fraction.resize(3, '0');
        thousandths += fraction;
    }
    return "INW;" + std::string(code) + ";" + thousandths;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = iwv::fuzz::Bytes(data, size);
    const auto& dir = iwv::fuzz::ScratchDirectory();
    iwv::fuzz::WriteFile(dir / "inwin.txt", bytes);
    const iwv::ConversionCounts counts =
        iwv::CountConverter::Convert(iwv::platform::SystemFileSystem(), (dir / "inwin.txt").string(), (dir / "count.txt").string());

    const std::vector<std::string> terminal = iwv::fuzz::ReferenceLines(bytes);
    bool wellFormed = false;
    const std::vector<std::string> countLines =
        iwv::fuzz::WrittenLines(iwv::fuzz::ReadFile(dir / "count.txt"), wellFormed);
    Require(wellFormed, "every count line ends with CR LF and holds no other line end");
    std::vector<std::string> expected;
    for (const std::string& line : terminal) {
        if (const std::optional<std::string> countLine = ExpectedCountLine(line)) expected.push_back(*countLine);
    }
    Require(countLines == expected, "the count lines of the usable terminal lines, in file order");
    Require(counts.read == terminal.size(), "every terminal line is read");
    Require(counts.written == countLines.size(), "every count line is counted");
    Require(counts.read == counts.written + counts.wrongFieldCount + counts.nothingCounted + counts.noValue,
            "every terminal line not written is skipped for one reason");
    return 0;
}
