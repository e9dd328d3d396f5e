#pragma once

#include <string>

#include "common/ConversionCounts.h"
#include "platform/FileSystem.h"

namespace iwv {

// Turns the host's goods file into the terminal's lookup file: one line
// "name,code,quantity,0,price" for every goods line "x;code;name;purchase;retail;quantity".
struct LookupConverter {
    // Both as the host's parameters resolve them, which own the values and
    // their defaults.
    int NameLength;  // goods-name length N
    int PriceLevel;  // 1 purchase price (field 3), anything else retail price (field 4)

    // Converts the goods file line by line into the lookup file, which is
    // replaced only once every line is on disk, counting the lines as it goes.
    // Every goods line gives a lookup line, so nothing is skipped. Throws
    // Error "Cannot open file <goodsPath>", "Cannot create file <lookupPath>"
    // or "Cannot write file <lookupPath>".
    void Convert(platform::FileSystem& files, const std::string& goodsPath, const std::string& lookupPath,
                 ConversionCounts& counts) const;
    // The same, for a caller who wants only the counts of a whole conversion.
    ConversionCounts Convert(platform::FileSystem& files, const std::string& goodsPath,
                             const std::string& lookupPath) const {
        ConversionCounts counts;
        Convert(files, goodsPath, lookupPath, counts);
        return counts;
    }
};

}  // namespace iwv
