#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/LineList.h"

namespace iwv {

// Turns the terminal's data file ("code,quantity" lines) into the host's count
// file ("INW;code;thousandths" lines).
struct CountConverter {
    // Loads terminalDataPath, converts it and saves the result over countPath,
    // whose replacement file open gives (tests make writes fail through it).
    // Errors are those of LineList.
    static void Convert(const std::string& terminalDataPath, const std::string& countPath,
                        const platform::ReplacementFile::Opener& open = &platform::ReplacementFile::Open);
    // The count lines of the terminal lines, in order; unusable lines dropped.
    static LineList Convert(const LineList& terminalLines);
};

// The quantity in thousandths without a point ("1.5" gives "1500"), or no
// value when the quantity gives no count line.
std::optional<std::string> NormalizeQuantity(std::string_view quantity);

}  // namespace iwv
