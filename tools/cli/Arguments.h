#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace iwv::cli {

// An option "--name VALUE" (or "--name=VALUE") whose value must be one of
// values (any text when values is empty); defaultValue when it is not given.
struct OptionRule {
    std::string_view name;
    std::vector<std::string_view> values;
    std::string_view defaultValue;
};

// A command's arguments: a fixed number of positional arguments and options
// in any order among them. Throws UsageError for anything else.
class Arguments {
public:
    Arguments(const std::vector<std::string>& arguments, std::size_t positionalCount,
              std::vector<OptionRule> options = {});

    const std::string& Positional(std::size_t index) const { return positionals_.at(index); }
    // The option's value, or its default.
    std::string_view Option(std::string_view name) const;
    // True when the option was given on the command line.
    bool Given(std::string_view name) const;
    int IntOption(std::string_view name) const;

private:
    void SetOption(std::string_view name, std::string_view value);

    std::vector<std::string> positionals_;
    std::vector<OptionRule> rules_;
    std::vector<std::string> values_;  // one per rule; empty until given
};

}  // namespace iwv::cli
