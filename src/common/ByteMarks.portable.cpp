#include "common/ByteMarks.h"

namespace iwv {

// A processor without SSE2 marks a byte at a time.
void MarkBytes(std::string_view text, char separator, std::uint64_t* ends, std::uint64_t* separators) {
    MarkBytesScalar(text, separator, ends, separators);
}

}  // namespace iwv
