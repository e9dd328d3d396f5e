#pragma once

#include <cstdint>
#include <string_view>

namespace iwv {

// The property codes the host asks for by name in the library.
enum PropertyCode : std::int32_t {
    kDeviceLabelProperty = 1,
    kLibraryNameProperty = 2,
    // Shown before an import: the terminal's data-file transmission.
    kImportPromptProperty = 302,
    // Shown before an export: the terminal's database loading.
    kExportPromptProperty = 303,
};

// The Windows-1250 text of a property code; the empty text for a code the
// library does not know.
std::string_view PropertyText(std::int32_t code);

// Copies PropertyText(code) with its NUL into the host's buffer (at most 158
// bytes) and returns the buffer.
char* CopyProperty(char* buffer, std::int32_t code);

}  // namespace iwv
