#pragma once

#include <string>

namespace iwv::simulator {

// Checks a driver's one argument as the plug-in writes it: the exchange file's
// name, then optionally ",<port code 1..10>" and ",<baud code 1..5>". A lone
// code may be either (the plug-in leaves out what it could not resolve).
// Returns an empty text when it is right, else what is wrong.
std::string CheckDriverArgument(int argc, char** argv, const std::string& fileName);

}  // namespace iwv::simulator
