#pragma once

#include <cstdint>
#include <string>

#include "plugin/HostCallbacks.h"

namespace iwv {

// Which driver an operation runs.
enum class DriverKind { Export, Import };

// What one export or import needs from the host's parameters, resolved afresh
// at every call.
struct DriverSettings {
    std::string CommandLine;
    std::uint32_t TimeoutTicks = 3000;  // ticks of 100 ms
    int NameLength = 20;                // export only
    int PriceLevel = 0;                 // export only
};

// The settings an operation starts from, before the host is asked.
DriverSettings DefaultDriverSettings(DriverKind kind);

// Asks the host for "port", "baud", "timeout" (and, for the export, "dlugosc"
// and "cena"), in that order, each once, and applies every answer that matches
// a value text exactly.
DriverSettings ResolveDriverSettings(DriverKind kind, HostCallbacks& host);

}  // namespace iwv
