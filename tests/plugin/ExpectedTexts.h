#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the host must read from the library, written out byte for byte
// (Windows-1250) independently of the library's own tables, so that the
// native tests and the test of the built DLL check the same texts.
namespace iwv::expected {

struct Parameter {
    std::string key;
    std::string caption;
    std::string defaultValue;
    // Index of the default value in values.
    std::size_t defaultIndex;
    std::vector<std::string> values;
};

inline const std::vector<Parameter>& Parameters() {
    static const std::vector<Parameter> parameters = {
        {"port", "Port RS232", "COM1", 0,
         {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9", "COM10"}},
        {"baud", "Pr\xEA" "dko\x9C\xE6", "115200", 4, {"9600", "19200", "38400", "57600", "115200"}},
        {"timeout", "Timeout", "5 min", 2, {"1 min", "2 min", "5 min", "10 min", "15 min", "30 min"}},
        {"dlugosc", "Nazwa towaru", "20 liter", 2, {"10 liter", "15 liter", "20 liter", "25 liter", "30 liter"}},
        {"cena", "Poziom ceny", "Cena det", 0, {"Cena det", "Cena zak"}},
    };
    return parameters;
}

// The shared opening of both operator prompts.
inline const std::string kDockInstructions =
    "W\xB3\xB9" "cz zasilanie doku, sprawd\x9F po\xB3\xB9" "czenie RS232 z komputerem,\n"
    "nast\xEApnie umie\x9C\xE6 inwentaryzator w doku i za\xB3\xB9" "cz go.\n"
    "\n";

struct Property {
    std::int32_t code;
    std::string text;
};

inline const std::vector<Property>& Properties() {
    static const std::vector<Property> properties = {
        {1, "Vestrak-L CipherLab"},
        {2, "IW_Vestra"},
        {301, "1"},
        {302, kDockInstructions + "Wybierz z menu 2.TRANSMISJA -> DATA FILE."},
        {303, kDockInstructions + "Wybierz z menu 3.NARZ\xCA" "DZIA -> 8.\xA3" "ADUJ BAZ\xCA."},
        {304, ""},
        {305, "0"},
        {306, "0"},
        {307, "0"},
        {308, "0"},
        {0, ""},
        {3, ""},
        {300, ""},
        {309, ""},
        {-1, ""},
        {INT32_MIN, ""},
        {INT32_MAX, ""},
    };
    return properties;
}

}  // namespace iwv::expected
