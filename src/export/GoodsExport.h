#pragma once

#include <cstdint>

#include "driver/OperationServices.h"
#include "host/LibraryInstance.h"

namespace iwv {

// The goods export: writes the terminal's lookup file from the host's goods
// file at dataPath and runs dlookup.exe. 1 when the driver ended, 0 when it
// could not be started; file errors and ConnectionError are thrown.
std::int32_t ExportGoods(const LibraryInstance& instance, HostWord callContext, const char* dataPath,
                         const OperationServices& services);

}  // namespace iwv
