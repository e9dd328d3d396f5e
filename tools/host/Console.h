#pragma once

#include <string>

namespace iwv::host {

// Writes Windows-1250 text so that Polish letters show right: through the
// console's wide-character interface on a console, as UTF-8 into a pipe or file.
void PrintCp1250(const std::string& text);

// Writes plain ASCII text to standard output.
void Print(const std::string& text);
// Writes plain ASCII text to standard error.
void PrintError(const std::string& text);

}  // namespace iwv::host
