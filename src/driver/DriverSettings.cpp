#include "driver/DriverSettings.h"

#include <string_view>

namespace iwv {
namespace {

// A value text of the host's and the code it adds to the command line.
struct CodeEntry {
    std::string_view text;
    std::string_view code;
};

// A value text of the host's and the number it stands for.
struct NumberEntry {
    std::string_view text;
    std::uint32_t number;
};

constexpr CodeEntry kPortCodes[] = {
    {"COM1", ",1"}, {"COM2", ",2"}, {"COM3", ",3"}, {"COM4", ",4"}, {"COM5", ",5"},
    {"COM6", ",6"}, {"COM7", ",7"}, {"COM8", ",8"}, {"COM9", ",9"}, {"COM10", ",10"},
};

// Code 1 is the fastest speed; the host lists the speeds slowest first, so a
// code is not a list position.
constexpr CodeEntry kBaudCodes[] = {
    {"115200", ",1"}, {"57600", ",2"}, {"38400", ",3"}, {"19200", ",4"}, {"9600", ",5"},
};

// Ticks of 100 ms.
constexpr NumberEntry kTimeouts[] = {
    {"1 min", 600}, {"2 min", 1200}, {"5 min", 3000}, {"10 min", 6000}, {"15 min", 9000}, {"30 min", 18000},
};

constexpr NumberEntry kNameLengths[] = {
    {"10 liter", 10}, {"15 liter", 15}, {"20 liter", 20}, {"25 liter", 25}, {"30 liter", 30},
};

constexpr NumberEntry kPriceLevels[] = {
    {"Cena det", 0},
    {"Cena zak", 1},
};

// The entry whose text equals value byte for byte, or null: the host's texts
// are taken as they come, without trimming or case folding.
template <typename Entry, std::size_t N>
const Entry* Find(const Entry (&table)[N], std::string_view value) {
    for (const Entry& entry : table)
        if (entry.text == value) return &entry;
    return nullptr;
}

void AppendCode(const CodeEntry* entry, std::string& commandLine) {
    if (entry) commandLine += entry->code;
}

template <typename Field>
void SetNumber(const NumberEntry* entry, Field& field) {
    if (entry) field = static_cast<Field>(entry->number);
}

}  // namespace

DriverSettings DefaultDriverSettings(DriverKind kind) {
    DriverSettings settings;
    settings.CommandLine = kind == DriverKind::Export ? "dlookup.exe inwout.txt" : "232_read.exe inwin.txt";
    return settings;
}

DriverSettings ResolveDriverSettings(DriverKind kind, HostCallbacks& host) {
    DriverSettings settings = DefaultDriverSettings(kind);
    // Every key is asked for, whatever the earlier answers: hosts may count
    // on seeing the same questions at every call.
    AppendCode(Find(kPortCodes, host.GetParameterValue("port")), settings.CommandLine);
    AppendCode(Find(kBaudCodes, host.GetParameterValue("baud")), settings.CommandLine);
    SetNumber(Find(kTimeouts, host.GetParameterValue("timeout")), settings.TimeoutTicks);
    if (kind == DriverKind::Export) {
        SetNumber(Find(kNameLengths, host.GetParameterValue("dlugosc")), settings.NameLength);
        SetNumber(Find(kPriceLevels, host.GetParameterValue("cena")), settings.PriceLevel);
    }
    return settings;
}

}  // namespace iwv
