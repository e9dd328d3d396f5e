#pragma once

#include "common/Cp1250.h"

namespace iwv {

// The status text both operations show before they start working.
inline constexpr auto kTransactionStatus = Cp1250("\nTransakcja w toku ...");

}  // namespace iwv
