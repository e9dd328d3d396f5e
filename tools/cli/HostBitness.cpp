#include "HostBitness.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>

namespace iwv::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kMachineI386 = 0x014C;
constexpr std::uint32_t kMachineAmd64 = 0x8664;
constexpr std::streamoff kPeOffsetField = 0x3C;

std::string Lower(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return name;
}

// A program that may be the host: not one of the kit's tools or the drivers
// (real or simulated) that lie beside it.
bool MayBeHost(const std::string& name) {
    static const std::set<std::string> kNotHosts = {"iwvestra.exe", "iwvestra-host.exe", "dlookup.exe", "232_read.exe",
                                                    "scan.exe"};
    const std::string lower = Lower(name);
    return lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".exe") == 0 && kNotHosts.count(lower) == 0;
}

std::uint32_t Little(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}

bool ReadAt(std::ifstream& file, std::streamoff offset, unsigned char* bytes, std::streamsize count) {
    file.seekg(offset);
    return static_cast<bool>(file.read(reinterpret_cast<char*>(bytes), count));
}

std::string Bits(int bits) { return std::to_string(bits) + "-bit"; }

}  // namespace

int ImageBits(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::array<unsigned char, 6> bytes{};
    if (!ReadAt(file, 0, bytes.data(), 2) || bytes[0] != 'M' || bytes[1] != 'Z') return 0;
    if (!ReadAt(file, kPeOffsetField, bytes.data(), 4)) return 0;
    const std::streamoff pe = Little(bytes.data(), 4);
    if (!ReadAt(file, pe, bytes.data(), 6) || bytes[0] != 'P' || bytes[1] != 'E' || bytes[2] != 0 || bytes[3] != 0)
        return 0;
    switch (Little(bytes.data() + 4, 2)) {
        case kMachineI386:
            return 32;
        case kMachineAmd64:
            return 64;
        default:
            return 0;
    }
}

HostProgram FindHostProgram(const std::string& folder, const std::string& named) {
    if (!named.empty()) {
        const int bits = ImageBits(named);
        return {named + (bits ? ", " + Bits(bits) : " is no 32-bit or 64-bit Windows program"), bits};
    }
    std::set<int> kinds;
    std::set<std::string> found;  // sorted, whatever order the folder lists
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!MayBeHost(name)) continue;
        const int bits = ImageBits(entry.path().string());
        if (bits == 0) continue;
        kinds.insert(bits);
        found.insert(name + " " + Bits(bits));
    }
    std::string names;
    for (const std::string& program : found) names += (names.empty() ? "" : ", ") + program;
    if (kinds.empty()) return {"none in this folder; name it with --host", 0};
    if (kinds.size() > 1) return {names + "; name the host with --host", 0};
    return {names, *kinds.begin()};
}

}  // namespace iwv::cli
