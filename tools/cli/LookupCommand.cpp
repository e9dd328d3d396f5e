#include "Arguments.h"
#include "Command.h"
#include "driver/Parameters.h"
#include "export/LookupConverter.h"

namespace iwv::cli {
namespace {

// The numbers the host's values of a parameter resolve to, as an option's
// texts, with the parameter's default: the tool offers what the plug-in
// would use, from the one table both read.
struct NumberChoices {
    std::vector<std::string> texts;
    std::string defaultText;
};

NumberChoices ChoicesOf(std::string_view key) {
    const Parameter& parameter = *FindParameter(key);
    NumberChoices choices;
    for (const ParameterValue& value : parameter) choices.texts.push_back(std::to_string(value.number));
    choices.defaultText = std::to_string(parameter.Default().number);
    return choices;
}

std::string Alternatives(const NumberChoices& choices) {
    std::string text;
    for (const std::string& choice : choices.texts) text += (text.empty() ? "" : "|") + choice;
    return text;
}

OptionRule RuleOf(std::string_view name, const NumberChoices& choices) {
    return OptionRule{name, {choices.texts.begin(), choices.texts.end()}, choices.defaultText};
}

int RunLookup(const std::vector<std::string>& arguments) {
    const NumberChoices nameLengths = ChoicesOf("dlugosc");
    const NumberChoices priceLevels = ChoicesOf("cena");
    const Arguments args(arguments, 2, {RuleOf("name-length", nameLengths), RuleOf("price-level", priceLevels)});
    const LookupConverter converter{args.IntOption("name-length"), args.IntOption("price-level")};
    converter.Convert(platform::SystemFileSystem(), args.Positional(0), args.Positional(1));
    return kExitOk;
}

}  // namespace

const Command& LookupCommand() {
    static const std::string usage = "GOODS_FILE LOOKUP_FILE [--name-length " + Alternatives(ChoicesOf("dlugosc")) +
                                     "] [--price-level " + Alternatives(ChoicesOf("cena")) + "]";
    static const Command command{"lookup", usage, &RunLookup};
    return command;
}

}  // namespace iwv::cli
