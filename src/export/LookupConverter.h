#pragma once

#include <string>
#include <string_view>

#include "common/LineList.h"

namespace iwv {

class ByteBuffer;

// Turns the host's goods file into the terminal's lookup file: one line
// "name,code,quantity,0,price" for every goods line "x;code;name;purchase;retail;quantity".
struct LookupConverter {
    int NameLength = 20;  // goods-name length N: 10, 15, 20, 25 or 30
    int PriceLevel = 0;   // 1 purchase price (field 3), anything else retail price (field 4)

    // Loads goodsPath, converts every line and saves the result to lookupPath,
    // whose replacement file open gives (tests make writes fail through it).
    // Errors are those of LineList.
    void Convert(const std::string& goodsPath, const std::string& lookupPath,
                 const platform::ReplacementFile::Opener& open = &platform::ReplacementFile::Open) const;
    // Converts every line of goods, in order.
    LineList Convert(const LineList& goods) const;
    // The lookup line of one goods line.
    std::string BuildLine(std::string_view goodsLine) const;

private:
    // Appends the lookup line of every goods line (of a LineList or a
    // LineFileReader) to lines (a LineList or a LineFileWriter).
    template <typename Goods, typename Lines>
    void ConvertInto(const Goods& goods, Lines& lines) const;
    // Appends the lookup line of goodsLine to out.
    void AppendLine(ByteBuffer& out, std::string_view goodsLine) const;
};

// Every "," becomes "."; a name longer than nameLength keeps exactly its first
// nameLength characters.
std::string ApplyNameRule(std::string_view name, int nameLength);
// A whole number of thousandths as decimal text ("12500" gives "12.500").
std::string ThousandthsText(std::string_view text);
// A whole number of hundredths as decimal text ("249" gives "2.49").
std::string HundredthsText(std::string_view text);

}  // namespace iwv
