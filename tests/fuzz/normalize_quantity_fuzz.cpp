// Normalises arbitrary quantity texts and checks the result against the
// position of the first point.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Property.h"
#include "import/CountConverter.h"

namespace {

using iwv::fuzz::CountOf;
using iwv::fuzz::Require;

constexpr std::size_t kFractionDigits = 3;

void CheckWithoutPoint(std::string_view quantity, const std::string& result) {
    Require(result.size() == quantity.size() + kFractionDigits, "a whole count gains three characters");
    Require(result.compare(0, quantity.size(), quantity) == 0, "a whole count stands unchanged in front");
    Require(result.compare(quantity.size(), kFractionDigits, "000") == 0, "a whole count is followed by 000");
}

void CheckWithPoint(std::string_view quantity, std::size_t point, const std::string& result) {
    Require(result.size() == point + kFractionDigits, "the text before the point plus three characters");
    Require(result.compare(0, point, quantity.substr(0, point)) == 0, "the text before the point is unchanged");
    Require(CountOf(result, '.') + 1 <= CountOf(quantity, '.'), "the first point is gone");
    std::string fraction(quantity.substr(point + 1, kFractionDigits));
    fraction.resize(kFractionDigits, '0');
    Require(result.compare(point, kFractionDigits, fraction) == 0, "the fraction is cut or padded to three");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view quantity = iwv::fuzz::Bytes(data, size);
    const std::optional<iwv::NormalizedQuantity> normalized = iwv::NormalizeQuantity(quantity);
    if (quantity == ".") {
        Require(!normalized.has_value(), "the point alone gives no count");
        return 0;
    }
    Require(normalized.has_value(), "only the point alone gives no count");
    Require(normalized->padding.find_first_not_of('0') == std::string_view::npos, "the padding is zeros");
    const std::string result =
        std::string(normalized->whole).append(normalized->fraction).append(normalized->padding);
    const std::size_t point = quantity.find('.');
    if (point == std::string_view::npos) {
        CheckWithoutPoint(quantity, result);
    } else {
        CheckWithPoint(quantity, point, result);
    }
    return 0;
}
