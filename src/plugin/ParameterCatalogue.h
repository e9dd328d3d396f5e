#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace iwv {

// The texts a parameter may take, entry 0 first.
struct ValueList {
    const std::string_view* first = nullptr;
    std::size_t count = 0;

    constexpr const std::string_view* begin() const { return first; }
    constexpr const std::string_view* end() const { return first + count; }
    constexpr std::size_t size() const { return count; }
    constexpr std::string_view operator[](std::size_t index) const { return first[index]; }
};

// One parameter the host shows the operator and keeps a value for. All texts
// are Windows-1250.
struct CatalogueParameter {
    std::string_view key;
    std::string_view caption;
    std::string_view defaultValue;
    ValueList values;
};

// The parameter group the host asks about; other groups are not ours.
constexpr std::int32_t kParameterGroup = 301;
// What HSTDLLParametr answers for a parameter it describes.
constexpr std::int32_t kParameterDescribed = 2;
constexpr std::size_t kParameterCount = 5;

// The parameters in the order the host numbers them.
const std::array<CatalogueParameter, kParameterCount>& CatalogueParameters();

// The parameter with exactly this key (case-sensitive); null when none.
const CatalogueParameter* FindParameter(std::string_view key);

// Copies key, caption, default value and two empty texts of parameter index
// into the host's buffers and returns kParameterDescribed; 0, writing
// nothing, for another group or an index past the table.
std::int32_t DescribeParameter(std::int32_t group, std::uint32_t index, char* key, char* caption,
                               char* defaultValue, char* fourth, char* fifth);

// Copies entry index of key's value list into buffer and returns 1; 0, with
// buffer untouched, for an unknown key or an index past the list.
std::int32_t CopyListEntry(const char* key, std::uint32_t index, char* buffer);

}  // namespace iwv
