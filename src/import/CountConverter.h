#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/ConversionCounts.h"
#include "common/ReplacementFile.h"
#include "platform/FileSystem.h"

namespace iwv {

// Turns the terminal's data file ("code,quantity" lines) into the host's count
// file ("INW;code;thousandths" lines).
struct CountConverter {
    // Converts the terminal data file line by line into the count file, which
    // is replaced only once every line is on disk, counting the lines as it
    // goes; those that give no count line by reason. Throws Error "Cannot
    // open file <terminalDataPath>", "Cannot create file <count>" or "Cannot
    // write file <count>".
    static void Convert(platform::FileSystem& files, const std::string& terminalDataPath,
                        const ReplacementTarget& count, ConversionCounts& counts);
    // The same, for a caller who wants only the counts of a whole conversion.
    static ConversionCounts Convert(platform::FileSystem& files, const std::string& terminalDataPath,
                                    const ReplacementTarget& count) {
        ConversionCounts counts;
        Convert(files, terminalDataPath, count, counts);
        return counts;
    }
};

// The quantity rule: a quantity of size bytes whose first point is at point
// (size when it has none) is, in thousandths without a point, its bytes
// before the point, then the bytes after it, at most three (the rest is
// dropped, never rounded), then as many zeros as make three; nothing for the
// point alone, which gives no count line. By positions, so that it holds for
// a quantity of any length, however its bytes are reached.
struct Thousandths {
    std::uint64_t whole;         // the bytes before the point
    std::uint64_t fractionFrom;  // where the fraction's bytes begin
    std::uint64_t fraction;      // how many of them
    std::size_t zeros;           // after them
};
std::optional<Thousandths> ThousandthsOf(std::uint64_t size, std::uint64_t point);

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
