#pragma once

#include <cstddef>
#include <string_view>

namespace iwv {

// Sources are UTF-8 so that Polish texts stay readable; everything the library
// shows, writes or hands to the host is Windows-1250. Cp1250(u8-literal) turns
// a literal into its Windows-1250 bytes at compile time. A character outside
// ASCII, the Polish letters and Polish quotes and dash is a compile error,
// never a silent '?'.
template <std::size_t N>
struct Cp1250Text {
    char bytes[N] = {};
    std::size_t size = 0;

    constexpr const char* c_str() const { return bytes; }
    constexpr std::string_view view() const { return {bytes, size}; }
    constexpr operator std::string_view() const { return view(); }
};

namespace detail {

struct Cp1250Letter {
    unsigned codePoint;
    unsigned char byte;
};

inline constexpr Cp1250Letter kPolishCharacters[] = {
    {0x0104, 0xA5}, {0x0105, 0xB9},  // Ą ą
    {0x0106, 0xC6}, {0x0107, 0xE6},  // Ć ć
    {0x0118, 0xCA}, {0x0119, 0xEA},  // Ę ę
    {0x0141, 0xA3}, {0x0142, 0xB3},  // Ł ł
    {0x0143, 0xD1}, {0x0144, 0xF1},  // Ń ń
    {0x00D3, 0xD3}, {0x00F3, 0xF3},  // Ó ó
    {0x015A, 0x8C}, {0x015B, 0x9C},  // Ś ś
    {0x0179, 0x8F}, {0x017A, 0x9F},  // Ź ź
    {0x017B, 0xAF}, {0x017C, 0xBF},  // Ż ż
    {0x201E, 0x84}, {0x201D, 0x94},  // „ ”
    {0x2013, 0x96},                  // –
};

struct UnsupportedCharacter {};

constexpr unsigned char ToCp1250(unsigned codePoint) {
    if (codePoint < 0x80) return static_cast<unsigned char>(codePoint);
    for (const auto& letter : kPolishCharacters)
        if (letter.codePoint == codePoint) return letter.byte;
    throw UnsupportedCharacter{};
}

}  // namespace detail

template <std::size_t N>
constexpr Cp1250Text<N> Cp1250(const char (&utf8)[N]) {
    Cp1250Text<N> out;
    std::size_t i = 0;
    while (i + 1 < N) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        unsigned codePoint = lead;
        if (lead >= 0xC0 && lead < 0xE0 && i + 2 < N) {
            codePoint = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            i += 2;
        } else if (lead >= 0xE0 && lead < 0xF0 && i + 3 < N) {
            codePoint = ((lead & 0x0Fu) << 12) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 6) |
                        (static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu);
            i += 3;
        } else if (lead < 0x80) {
            i += 1;
        } else {
            throw detail::UnsupportedCharacter{};
        }
        out.bytes[out.size++] = static_cast<char>(detail::ToCp1250(codePoint));
    }
    out.bytes[out.size] = '\0';
    return out;
}

}  // namespace iwv
