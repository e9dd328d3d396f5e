#include "common/LineFileReader.h"

#include "common/Error.h"

namespace iwv {

LineFileReader::LineFileReader(const std::string& path) {
    if (!platform::ReadWholeFile(path, contents_)) throw Error("Cannot open file " + path);
}

}  // namespace iwv
