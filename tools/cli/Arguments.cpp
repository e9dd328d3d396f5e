#include "Arguments.h"

#include <algorithm>
#include <string>

#include "Command.h"

namespace iwv::cli {
namespace {

std::string Join(const std::vector<std::string_view>& values) {
    std::string joined;
    for (std::string_view value : values) joined.append(joined.empty() ? "" : "|").append(value);
    return joined;
}

bool IsOption(std::string_view argument) { return argument.size() > 2 && argument.substr(0, 2) == "--"; }

}  // namespace

Arguments::Arguments(const std::vector<std::string>& arguments, std::size_t positionalCount,
                     std::vector<OptionRule> options)
    : rules_(std::move(options)), values_(rules_.size()) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (!IsOption(argument)) {
            positionals_.push_back(arguments[i]);
            continue;
        }
        const std::size_t equals = argument.find('=');
        if (equals != std::string_view::npos) {
            SetOption(argument.substr(2, equals - 2), argument.substr(equals + 1));
        } else if (i + 1 < arguments.size()) {
            SetOption(argument.substr(2), arguments[++i]);
        } else {
            throw UsageError("option " + std::string(argument) + " needs a value");
        }
    }
    if (positionals_.size() != positionalCount)
        throw UsageError("expected " + std::to_string(positionalCount) + " file arguments, got " +
                         std::to_string(positionals_.size()));
}

void Arguments::SetOption(std::string_view name, std::string_view value) {
    const auto rule = std::find_if(rules_.begin(), rules_.end(), [&](const OptionRule& r) { return r.name == name; });
    if (rule == rules_.end()) throw UsageError("unknown option --" + std::string(name));
    std::string& slot = values_[static_cast<std::size_t>(rule - rules_.begin())];
    if (!slot.empty()) throw UsageError("option --" + std::string(name) + " given twice");
    if (!rule->values.empty() && std::find(rule->values.begin(), rule->values.end(), value) == rule->values.end())
        throw UsageError("--" + std::string(name) + " must be one of " + Join(rule->values));
    slot = value;
}

std::string_view Arguments::Option(std::string_view name) const {
    for (std::size_t i = 0; i < rules_.size(); ++i)
        if (rules_[i].name == name) return values_[i].empty() ? rules_[i].defaultValue : std::string_view(values_[i]);
    throw UsageError("unknown option --" + std::string(name));
}

bool Arguments::Given(std::string_view name) const {
    for (std::size_t i = 0; i < rules_.size(); ++i)
        if (rules_[i].name == name) return !values_[i].empty();
    return false;
}

int Arguments::IntOption(std::string_view name) const { return std::stoi(std::string(Option(name))); }

}  // namespace iwv::cli
