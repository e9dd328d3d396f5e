#include "plugin/ParameterCatalogue.h"

#include "common/Cp1250.h"
#include "plugin/HostText.h"

namespace iwv {
namespace {

constexpr std::string_view kPorts[] = {"COM1", "COM2", "COM3", "COM4", "COM5",
                                       "COM6", "COM7", "COM8", "COM9", "COM10"};
// Slowest first: the driver's speed codes follow this order.
constexpr std::string_view kBauds[] = {"9600", "19200", "38400", "57600", "115200"};
constexpr std::string_view kTimeouts[] = {"1 min", "2 min", "5 min", "10 min", "15 min", "30 min"};
constexpr std::string_view kNameLengths[] = {"10 liter", "15 liter", "20 liter", "25 liter", "30 liter"};
constexpr std::string_view kPriceLevels[] = {"Cena det", "Cena zak"};

constexpr auto kSpeedCaption = Cp1250("Prędkość");

template <std::size_t N>
constexpr ValueList ListOf(const std::string_view (&entries)[N]) {
    return ValueList{entries, N};
}

constexpr std::array<CatalogueParameter, kParameterCount> kParameters = {{
    {"port", "Port RS232", kPorts[0], ListOf(kPorts)},
    {"baud", kSpeedCaption.view(), kBauds[4], ListOf(kBauds)},
    {"timeout", "Timeout", kTimeouts[2], ListOf(kTimeouts)},
    {"dlugosc", "Nazwa towaru", kNameLengths[2], ListOf(kNameLengths)},
    {"cena", "Poziom ceny", kPriceLevels[0], ListOf(kPriceLevels)},
}};

}  // namespace

const std::array<CatalogueParameter, kParameterCount>& CatalogueParameters() { return kParameters; }

const CatalogueParameter* FindParameter(std::string_view key) {
    for (const auto& parameter : kParameters)
        if (parameter.key == key) return &parameter;
    return nullptr;
}

std::int32_t DescribeParameter(std::int32_t group, std::uint32_t index, char* key, char* caption,
                               char* defaultValue, char* fourth, char* fifth) {
    if (group != kParameterGroup || index >= kParameters.size()) return 0;
    const auto& parameter = kParameters[index];
    CopyToHost(parameter.key, key);
    CopyToHost(parameter.caption, caption);
    CopyToHost(parameter.defaultValue, defaultValue);
    CopyToHost({}, fourth);
    CopyToHost({}, fifth);
    return kParameterDescribed;
}

std::int32_t CopyListEntry(const char* key, std::uint32_t index, char* buffer) {
    if (key == nullptr) return 0;
    const CatalogueParameter* parameter = FindParameter(key);
    if (parameter == nullptr || index >= parameter->values.size()) return 0;
    CopyToHost(parameter->values[index], buffer);
    return 1;
}

}  // namespace iwv
