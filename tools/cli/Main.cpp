// iwvestra: the library's file conversions from the command line, for trying
// them on real files and for measuring them.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "Command.h"
#include "common/Error.h"
#include "platform/Console.h"
#include "common/LibraryVersion.h"

namespace iwv::cli {
namespace {

const std::vector<const Command*>& Commands() {
    static const std::vector<const Command*> commands{&LookupCommand(), &CountCommand(), &CheckCommand()};
    return commands;
}

const Command* FindCommand(std::string_view name) {
    for (const Command* command : Commands())
        if (command->name == name) return command;
    return nullptr;
}

void PrintUsage(std::ostream& out, const Command& command) {
    out << "usage: iwvestra " << command.name << ' ' << command.usage << '\n';
}

void PrintUsage(std::ostream& out) {
    for (const Command* command : Commands()) PrintUsage(out, *command);
    out << "       iwvestra --help\n";
    out << "       iwvestra --version\n";
}


bool AsksForHelp(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments)
        if (argument == "--help" || argument == "-h") return true;
    return false;
}

int Run(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        PrintUsage(std::cerr);
        return kExitUsage;
    }
    if (arguments[0] == "--help" || arguments[0] == "-h") {
        PrintUsage(std::cout);
        return kExitOk;
    }
    if (arguments[0] == "--version") {
        // The version in the kit's name and the DLL's product version.
        std::cout << "iwvestra " << kProductVersionText << '\n';
        return kExitOk;
    }
    const Command* command = FindCommand(arguments[0]);
    if (!command) {
        std::cerr << "iwvestra: unknown command " << arguments[0] << '\n';
        PrintUsage(std::cerr);
        return kExitUsage;
    }
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (AsksForHelp(rest)) {
        PrintUsage(std::cout, *command);
        return kExitOk;
    }
    try {
        return command->run(rest);
    } catch (const UsageError& error) {
        std::cerr << "iwvestra " << command->name << ": " << error.what() << '\n';
        PrintUsage(std::cerr, *command);
        return kExitUsage;
    }
}

}  // namespace
}  // namespace iwv::cli

int main(int argc, char** argv) {
    try {
        return iwv::cli::Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const iwv::Error& error) {
        iwv::platform::WriteText(iwv::platform::StandardStream::Error, error.Message() + "\n");
    } catch (const std::exception& error) {
        std::cerr << "iwvestra: " << error.what() << '\n';
    }
    return iwv::cli::kExitFailure;
}
