#include "platform/Console.h"

#include <cstdio>

namespace iwv::platform {

void WriteText(StandardStream stream, std::string_view cp1250, bool) {
    std::FILE* out = stream == StandardStream::Output ? stdout : stderr;
    std::fflush(stdout);
    std::fwrite(cp1250.data(), 1, cp1250.size(), out);
    std::fflush(out);
}

}  // namespace iwv::platform
