#pragma once

#include <cstdint>

#include "driver/OperationServices.h"
#include "host/LibraryInstance.h"

namespace iwv {

// The stock-count import: runs 232_read.exe and replaces the host's count file
// at dataPath with the count it left. 1 when the driver ended, 0 when it could
// not be started; file errors and ConnectionError are thrown.
std::int32_t ImportStockCount(const LibraryInstance& instance, HostWord callContext, const char* dataPath,
                              const OperationServices& services);

}  // namespace iwv
