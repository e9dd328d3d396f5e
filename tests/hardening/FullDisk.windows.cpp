#include "FullDisk.h"

#include "LimitedCapacityFile.h"

namespace iwv::test {

// A Windows program cannot mount a small disk of its own, least of all under
// Wine: every replacement file gets the room of one instead.
FullDisk::FullDisk()
    : reason_("a Windows program cannot mount a small file system"), opener_(LimitedCapacityOpener(kCapacity)) {
    std::filesystem::create_directories(Data());
}

FullDisk::~FullDisk() = default;

}  // namespace iwv::test
