#pragma once

#include "common/Cp1250.h"
#include "common/Error.h"

namespace iwv {

inline constexpr auto kConnectionErrorText = Cp1250("Nie udało się nawiązac połączenia !");

// The error that ends an export or import whose driver ran past its time-out.
inline Error ConnectionError() { return Error(kConnectionErrorText.c_str()); }

}  // namespace iwv
