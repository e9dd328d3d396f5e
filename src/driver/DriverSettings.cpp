#include "driver/DriverSettings.h"

#include "driver/Parameters.h"

namespace iwv {
namespace {

bool Asked(DriverKind kind, const Parameter& parameter) { return kind == DriverKind::Export || !parameter.exportOnly; }

void Apply(const Parameter& parameter, const ParameterValue& entry, DriverSettings& settings) {
    switch (parameter.field) {
        case SettingField::PortCode:
        case SettingField::BaudCode:
            settings.CommandLine += entry.code;
            break;
        case SettingField::TimeoutTicks:
            settings.TimeoutTicks = entry.number;
            break;
        case SettingField::NameLength:
            settings.NameLength = static_cast<int>(entry.number);
            break;
        case SettingField::PriceLevel:
            settings.PriceLevel = static_cast<int>(entry.number);
            break;
    }
}

}  // namespace

DriverSettings DefaultDriverSettings(DriverKind kind) {
    DriverSettings settings;
    settings.CommandLine = kind == DriverKind::Export ? "dlookup.exe inwout.txt" : "232_read.exe inwin.txt";
    // A port or baud that matches nothing adds no code, so only the numbers
    // start from their defaults.
    for (const Parameter& parameter : Parameters())
        if (parameter.field != SettingField::PortCode && parameter.field != SettingField::BaudCode)
            Apply(parameter, parameter.Default(), settings);
    return settings;
}

DriverSettings ResolveDriverSettings(DriverKind kind, const ParameterLookup& valueOf) {
    DriverSettings settings = DefaultDriverSettings(kind);
    for (const Parameter& parameter : Parameters()) {
        if (!Asked(kind, parameter)) continue;
        const std::string value = valueOf(std::string(parameter.key).c_str());
        if (const ParameterValue* entry = parameter.Find(value)) Apply(parameter, *entry, settings);
    }
    return settings;
}

}  // namespace iwv
