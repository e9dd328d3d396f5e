#pragma once

#include <string>
#include <vector>

namespace iwv::simulator {

// The comma-separated fields of a line, every comma starting a field: the
// terminal's own reading, with no special case for a trailing comma.
inline std::vector<std::string> CommaFields(const std::string& text) {
    std::vector<std::string> fields(1);
    for (const char c : text) {
        if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

}  // namespace iwv::simulator
