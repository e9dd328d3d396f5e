#include "HostBitness.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <memory>
#include <set>

namespace iwv::cli {
namespace {

constexpr std::uint32_t kMachineI386 = 0x014C;
constexpr std::uint32_t kMachineAmd64 = 0x8664;
constexpr std::uint64_t kPeOffsetField = 0x3C;

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

bool ReadAt(platform::ReadableFile& file, std::uint64_t offset, unsigned char* bytes, std::size_t count) {
    std::size_t read = 0;
    return !file.ReadAt(offset, reinterpret_cast<char*>(bytes), count, read) && read == count;
}

}  // namespace

int ImageBits(platform::FileSystem& files, const std::string& path) {
    std::unique_ptr<platform::ReadableFile> file;
    if (files.OpenForReading(path, platform::FileSystem::Sharing::AllowAll, file)) return 0;
    std::array<unsigned char, 6> bytes{};
    if (!ReadAt(*file, 0, bytes.data(), 2) || bytes[0] != 'M' || bytes[1] != 'Z') return 0;
    if (!ReadAt(*file, kPeOffsetField, bytes.data(), 4)) return 0;
    const std::uint64_t pe = Little(bytes.data(), 4);
    if (!ReadAt(*file, pe, bytes.data(), 6) || bytes[0] != 'P' || bytes[1] != 'E' || bytes[2] != 0 || bytes[3] != 0)
        return 0;
    switch (Little(bytes.data() + 4, 2)) {
        case kMachineI386: return 32;
        case kMachineAmd64: return 64;
        default: return 0;
    }
}

std::vector<Program> HostCandidates(platform::FileSystem& files, const std::string& folder) {
    std::vector<platform::DirectoryEntry> entries;
    files.List(folder, entries);
    std::vector<Program> programs;
    for (const platform::DirectoryEntry& entry : entries) {
        if (entry.directory || !MayBeHost(entry.name)) continue;
        const int bits = ImageBits(files, folder + "\\" + entry.name);
        if (bits != 0) programs.push_back({entry.name, bits});
    }
    std::sort(programs.begin(), programs.end(), [](const Program& a, const Program& b) { return a.name < b.name; });
    return programs;
}

}  // namespace iwv::cli
