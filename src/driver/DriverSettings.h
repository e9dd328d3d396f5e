#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace iwv {

// Which driver an operation runs.
enum class DriverKind { Export, Import };

// What one export or import needs from the host's parameters, resolved afresh
// at every call.
struct DriverSettings {
    std::string CommandLine;
    std::uint32_t TimeoutTicks = 0;  // ticks of 100 ms
    int NameLength = 0;              // export only
    int PriceLevel = 0;              // export only
};

// The value text the host holds for a parameter key.
using ParameterLookup = std::function<std::string(const char* key)>;

// The settings an operation starts from before the host is asked: the base
// command line and every number at its parameter's default.
DriverSettings DefaultDriverSettings(DriverKind kind);

// Asks valueOf for every parameter the operation uses, in the catalogue's
// order and each once, whatever the earlier answers, and applies every answer
// that matches a value text exactly: port and baud append their codes to the
// command line, the others set their number. Other answers change nothing.
DriverSettings ResolveDriverSettings(DriverKind kind, const ParameterLookup& valueOf);

}  // namespace iwv
