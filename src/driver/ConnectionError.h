#pragma once

#include "common/Error.h"
#include "common/Texts.h"

namespace iwv {

// The error that ends an export or import whose driver ran past its time-out.
inline Error ConnectionError() { return Error(text::kConnectionFailed.c_str()); }

}  // namespace iwv
