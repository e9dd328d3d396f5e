#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/ConversionCounts.h"
#include "platform/FileSystem.h"

namespace iwv {

// Turns the terminal's data file ("code,quantity" lines) into the host's count
// file ("INW;code;thousandths" lines).
struct CountConverter {
    // Converts the terminal data file line by line into the count file, whose
    // replacement file open gives (tests make writes fail through it); the
    // count file is replaced only once every line is on disk. Lines that give
    // no count line are counted by reason.
    // Throws Error "Cannot open file <terminalDataPath>", "Cannot create file
    // <countPath>" or "Cannot write file <countPath>".
    static ConversionCounts Convert(const std::string& terminalDataPath, const std::string& countPath,
                                    const platform::ReplacementFile::Opener& open = &platform::ReplacementFile::Open);
};

// A quantity in thousandths without a point, as three texts written one
// after the other: what stood before the first point, unchanged; at most
// three characters that followed it (the rest is dropped, never rounded); and
// the zeros that make those three characters.
struct NormalizedQuantity {
    std::string_view whole;
    std::string_view fraction;
    std::string_view padding;
};

// "1.5" gives "1", "5" and "00"; no value for the point alone, which gives no
// count line.
std::optional<NormalizedQuantity> NormalizeQuantity(std::string_view quantity);

}  // namespace iwv
