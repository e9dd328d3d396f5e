#include "DriverArguments.h"

#include <vector>

#include "CommaFields.h"

namespace iwv::simulator {
namespace {

bool IsCode(const std::string& text, int highest) {
    if (text.empty() || text.size() > 2 || text[0] == '0') return false;
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return std::stoi(text) <= highest;
}

}  // namespace

std::string CheckDriverArgument(int argc, char** argv, const std::string& fileName) {
    if (argc != 2) return "expected one argument, " + fileName + "[,port][,baud]";
    const std::vector<std::string> parts = CommaFields(argv[1]);
    if (parts[0] != fileName) return "expected the file name " + fileName + ", got " + parts[0];
    if (parts.size() > 3) return "too many codes in " + std::string(argv[1]);
    if (parts.size() == 2 && !IsCode(parts[1], 10)) return "not a port or baud code: " + parts[1];
    if (parts.size() == 3 && !IsCode(parts[1], 10)) return "not a port code (1..10): " + parts[1];
    if (parts.size() == 3 && !IsCode(parts[2], 5)) return "not a baud code (1..5): " + parts[2];
    return std::string();
}

}  // namespace iwv::simulator
