#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace iwv::cli {

// The word size a Windows program or DLL is built for, read from its PE
// header: 32 for x86, 64 for x64, 0 for a file that is neither or unreadable.
int ImageBits(platform::FileSystem& files, const std::string& path);

// A Windows program in a folder, by its name in the system's code page.
struct Program {
    std::string name;
    int bits = 0;
};

// The programs of a folder that may be a host, sorted by name: every 32-bit
// or 64-bit .exe but this kit's tools and the drivers.
std::vector<Program> HostCandidates(platform::FileSystem& files, const std::string& folder);

}  // namespace iwv::cli
