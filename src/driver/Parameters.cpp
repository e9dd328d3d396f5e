#include "driver/Parameters.h"

#include "common/Cp1250.h"

namespace iwv {
namespace {

constexpr ParameterValue kPorts[] = {
    {"COM1", ",1", 0}, {"COM2", ",2", 0}, {"COM3", ",3", 0}, {"COM4", ",4", 0}, {"COM5", ",5", 0},
    {"COM6", ",6", 0}, {"COM7", ",7", 0}, {"COM8", ",8", 0}, {"COM9", ",9", 0}, {"COM10", ",10", 0},
};

// The host lists the speeds slowest first, while the driver's code 1 is the
// fastest: a code is not a list position.
constexpr ParameterValue kBauds[] = {
    {"9600", ",5", 0}, {"19200", ",4", 0}, {"38400", ",3", 0}, {"57600", ",2", 0}, {"115200", ",1", 0},
};

// Ticks of 100 ms.
constexpr ParameterValue kTimeouts[] = {
    {"1 min", {}, 600},   {"2 min", {}, 1200},  {"5 min", {}, 3000},
    {"10 min", {}, 6000}, {"15 min", {}, 9000}, {"30 min", {}, 18000},
};

constexpr ParameterValue kNameLengths[] = {
    {"10 liter", {}, 10}, {"15 liter", {}, 15}, {"20 liter", {}, 20}, {"25 liter", {}, 25}, {"30 liter", {}, 30},
};

constexpr ParameterValue kPriceLevels[] = {
    {"Cena det", {}, 0},
    {"Cena zak", {}, 1},
};

constexpr auto kSpeedCaption = Cp1250("Prędkość");

template <std::size_t N>
constexpr Parameter Define(std::string_view key, std::string_view caption, SettingField field, bool exportOnly,
                           const ParameterValue (&entries)[N], std::size_t defaultEntry) {
    return Parameter{key, caption, field, exportOnly, entries, N, defaultEntry};
}

constexpr std::array<Parameter, IWV_PARAMETER_COUNT> kParameters = {{
    Define("port", "Port RS232", SettingField::PortCode, false, kPorts, 0),
    Define("baud", kSpeedCaption.view(), SettingField::BaudCode, false, kBauds, 4),
    Define("timeout", "Timeout", SettingField::TimeoutTicks, false, kTimeouts, 2),
    Define("dlugosc", "Nazwa towaru", SettingField::NameLength, true, kNameLengths, 2),
    Define("cena", "Poziom ceny", SettingField::PriceLevel, true, kPriceLevels, 0),
}};

}  // namespace

const ParameterValue* Parameter::Find(std::string_view value) const {
    for (const ParameterValue& entry : *this)
        if (entry.text == value) return &entry;
    return nullptr;
}

const std::array<Parameter, IWV_PARAMETER_COUNT>& Parameters() { return kParameters; }

const Parameter* FindParameter(std::string_view key) {
    for (const Parameter& parameter : kParameters)
        if (parameter.key == key) return &parameter;
    return nullptr;
}

}  // namespace iwv
