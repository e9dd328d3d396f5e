#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace iwv::cli {

// Exit codes of the tool.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // the library reported an error
constexpr int kExitUsage = 2;    // the command line was wrong

// Arguments that do not fit the command; the dispatcher shows its usage.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One subcommand of the tool. Each lives in a file of its own and is listed
// once in the dispatcher.
struct Command {
    std::string_view name;
    std::string_view usage;  // the arguments after the name
    // Runs with the arguments after the name and returns the exit code.
    // Throws UsageError for bad arguments and iwv::Error from the library.
    int (*run)(const std::vector<std::string>& arguments);
};

const Command& LookupCommand();
const Command& CountCommand();
const Command& CheckCommand();

}  // namespace iwv::cli
