#pragma once

#include <string>

namespace iwv::cli {

// The word size a Windows program or DLL is built for, read from its PE
// header: 32 for x86, 64 for x64, 0 for a file that is neither or unreadable.
int ImageBits(const std::string& path);

// The host program of a folder: the one named, or else the only kind of
// Windows program in the folder besides this kit's tools and the drivers.
struct HostProgram {
    std::string description;  // "Sklep.exe, 32-bit", or why none was chosen
    int bits = 0;             // 0 when there is no single answer
};
HostProgram FindHostProgram(const std::string& folder, const std::string& named);

}  // namespace iwv::cli
