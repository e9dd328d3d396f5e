#include "Arguments.h"
#include "Command.h"
#include "export/LookupConverter.h"

namespace iwv::cli {
namespace {

int RunLookup(const std::vector<std::string>& arguments) {
    const Arguments args(arguments, 2,
                         {{"name-length", {"10", "15", "20", "25", "30"}, "20"}, {"price-level", {"0", "1"}, "0"}});
    LookupConverter converter;
    converter.NameLength = args.IntOption("name-length");
    converter.PriceLevel = args.IntOption("price-level");
    converter.Convert(args.Positional(0), args.Positional(1));
    return kExitOk;
}

}  // namespace

const Command& LookupCommand() {
    static const Command command{
        "lookup", "GOODS_FILE LOOKUP_FILE [--name-length 10|15|20|25|30] [--price-level 0|1]", &RunLookup};
    return command;
}

}  // namespace iwv::cli
