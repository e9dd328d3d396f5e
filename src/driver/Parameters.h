#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "IWVestra.h"

namespace iwv {

// What a parameter's value sets in the driver settings.
enum class SettingField { PortCode, BaudCode, TimeoutTicks, NameLength, PriceLevel };

// One entry of a parameter's value list: the text the host shows and hands
// back, and what it resolves to: a code appended to the driver's command line
// (port, baud) or a number (the others).
struct ParameterValue {
    std::string_view text;
    std::string_view code;
    std::uint32_t number;
};

// One parameter the host shows the operator and keeps a value for. Its value
// list is both what the host offers and what the library understands, so an
// entry added here is offered and resolved alike.
struct Parameter {
    std::string_view key;
    std::string_view caption;  // Windows-1250
    SettingField field;
    bool exportOnly;  // the import never asks for it
    const ParameterValue* entries;
    std::size_t entryCount;
    std::size_t defaultEntry;

    const ParameterValue* begin() const { return entries; }
    const ParameterValue* end() const { return entries + entryCount; }
    const ParameterValue& Default() const { return entries[defaultEntry]; }
    // The entry whose text equals value byte for byte (no trimming, no case
    // folding); null when none does.
    const ParameterValue* Find(std::string_view value) const;
};

// The parameters in the order the host numbers them and the library asks for
// them.
const std::array<Parameter, IWV_PARAMETER_COUNT>& Parameters();

// The parameter with exactly this key (case-sensitive); null when none.
const Parameter* FindParameter(std::string_view key);

}  // namespace iwv
