#include "Arguments.h"
#include "Command.h"
#include "import/CountConverter.h"

namespace iwv::cli {
namespace {

int RunCount(const std::vector<std::string>& arguments) {
    const Arguments args(arguments, 2);
    CountConverter::Convert(platform::SystemFileSystem(), args.Positional(0), {args.Positional(1), true});
    return kExitOk;
}

}  // namespace

const Command& CountCommand() {
    static const Command command{"count", "TERMINAL_DATA_FILE COUNT_FILE", &RunCount};
    return command;
}

}  // namespace iwv::cli
