// iwvestra check: what a shop's data path and parameters give, worked out by
// the library's own code, and the set-up faults seen most often in the field.

#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "Arguments.h"
#include "Command.h"
#include "HostBitness.h"
#include "driver/DriverSettings.h"
#include "driver/OperationJournal.h"
#include "driver/Parameters.h"
#include "driver/WorkDirectory.h"
#include "import/CountArchive.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

namespace iwv::cli {
namespace {

// Tool option -> parameter key, as iwvestra-host names them.
const std::vector<std::pair<std::string_view, std::string_view>> kParameterOptions = {
    {"port", "port"}, {"baud", "baud"}, {"timeout", "timeout"}, {"length", "dlugosc"}, {"price", "cena"},
};

using Answers = std::map<std::string, std::string>;

// Answers the library's questions from the command line, like a host would.
DriverSettings Resolve(DriverKind kind, const Answers& answers) {
    return ResolveDriverSettings(kind, [&answers](const char* key) {
        const auto found = answers.find(key);
        return found == answers.end() ? std::string() : found->second;
    });
}

std::vector<OptionRule> Rules() {
    std::vector<OptionRule> rules;
    for (const auto& [option, key] : kParameterOptions)
        rules.push_back({option, {}, FindParameter(key)->Default().text});
    rules.push_back({"host", {}, ""});
    return rules;
}

std::string Program(const std::string& commandLine) { return commandLine.substr(0, commandLine.find(' ')); }

std::string ParentOf(const std::string& path) {
    const std::size_t backslash = path.find_last_of('\\');
    return backslash == std::string::npos ? std::string() : path.substr(0, backslash);
}

class Report {
public:
    void Show(const std::string& label, const std::string& value) {
        std::cout << label << std::string(label.size() < 20 ? 20 - label.size() : 1, ' ') << value << '\n';
    }
    void Problem(const std::string& text) {
        std::cout << "PROBLEM: " << text << '\n';
        ++problems_;
    }
    int Finish() const {
        std::cout << (problems_ == 0 ? "no problems found" : std::to_string(problems_) + " problem(s) found") << '\n';
        return problems_ == 0 ? kExitOk : kExitFailure;
    }

private:
    int problems_ = 0;
};

Answers HostAnswers(const Arguments& args) {
    Answers answers;
    for (const auto& [option, key] : kParameterOptions) answers[std::string(key)] = std::string(args.Option(option));
    return answers;
}

void CheckValues(const Answers& answers, Report& report) {
    for (const auto& [option, key] : kParameterOptions) {
        const std::string& value = answers.at(std::string(key));
        const Parameter& parameter = *FindParameter(key);
        const bool listed = parameter.Find(value) != nullptr;
        std::string list;
        for (const ParameterValue& entry : parameter) list += (list.empty() ? "" : "|") + std::string(entry.text);
        if (!listed)
            report.Problem("--" + std::string(option) + " \"" + value + "\" is none of " + list +
                           "; the library ignores it and keeps its default");
    }
}

void CheckDriver(const std::string& commandLine, Report& report) {
    const std::string program = Program(commandLine);
    const std::string found = platform::FindProgram(program);
    if (found.empty())
        report.Problem(program + " is not found by the program search; install it beside the host program or on PATH");
    else
        report.Show(program, "found at " + found);
}

bool DirectoryExists(const std::string& path) {
    platform::FileStatus status;
    return !platform::SystemFileSystem().Status(path, status) && status.directory;
}

// Whether a new file can be made in the directory (and is removed again).
bool DirectoryWritable(const std::string& path) {
    platform::FileSystem& files = platform::SystemFileSystem();
    const std::string probe = WorkFilePath(path, "iwvestra.probe");
    std::unique_ptr<platform::WritableFile> file;
    if (files.CreateNew(probe, file)) return false;
    file.reset();
    files.Remove(probe);
    return true;
}

void CheckDirectories(const std::string& dataPath, const std::string& workDirectory, Report& report) {
    if (workDirectory.empty()) {
        report.Problem("the data path has fewer than two backslashes, so the work directory is empty and the "
                       "drivers cannot be started");
    } else if (!DirectoryExists(workDirectory)) {
        report.Problem("the work directory " + workDirectory + " does not exist");
    } else if (!DirectoryWritable(workDirectory)) {
        report.Problem("the work directory " + workDirectory + " cannot be written");
    }
    const std::string dataDirectory = ParentOf(dataPath);
    if (!dataDirectory.empty() && !DirectoryExists(dataDirectory))
        report.Problem("the data file's directory " + dataDirectory + " does not exist");
}

// A host loads only a DLL of its own bitness; Windows refuses the other with
// error 193. The check is run in the host's folder, where the host loads
// IWVestra.dll from; a folder without the DLL has nothing to compare.
void CheckLibraryBitness(const std::string& namedHost, Report& report) {
    const int library = ImageBits("IWVestra.dll");
    if (library == 0) return;
    report.Show("IWVestra.dll", std::to_string(library) + "-bit, in this folder");
    const HostProgram host = FindHostProgram(".", namedHost);
    report.Show("host program", host.description);
    if (host.bits != 0 && host.bits != library)
        report.Problem("IWVestra.dll is " + std::to_string(library) + "-bit; this host needs the " +
                       std::to_string(host.bits) + "-bit one");
}

int RunCheck(const std::vector<std::string>& arguments) {
    const Arguments args(arguments, 1, Rules());
    const std::string dataPath = args.Positional(0);
    Report report;
    const Answers answers = HostAnswers(args);
    const DriverSettings exportSettings = Resolve(DriverKind::Export, answers);
    const DriverSettings importSettings = Resolve(DriverKind::Import, answers);
    const std::string workDirectory = DeriveWorkDirectory(dataPath);
    report.Show("data path", dataPath);
    report.Show("work directory", workDirectory.empty() ? "(empty)" : workDirectory);
    report.Show("lookup file", WorkFilePath(workDirectory, "inwout.txt"));
    report.Show("terminal data file", WorkFilePath(workDirectory, "inwin.txt"));
    if (!workDirectory.empty()) {
        const CountArchive archive(platform::SystemFileSystem(), workDirectory);
        report.Show("journal", JournalPath(workDirectory));
        report.Show("count archive", archive.Path() + " (" + std::to_string(archive.Count()) + " imports archived)");
    }
    report.Show("export driver", exportSettings.CommandLine);
    report.Show("import driver", importSettings.CommandLine);
    report.Show("time-out", std::to_string(exportSettings.TimeoutTicks) + " polls of 100 ms (" +
                                std::to_string(exportSettings.TimeoutTicks / 600) + " min)");
    report.Show("goods names", std::to_string(exportSettings.NameLength) + " characters");
    report.Show("price", exportSettings.PriceLevel == 1 ? "purchase price" : "retail price");

    CheckValues(answers, report);
    CheckDriver(exportSettings.CommandLine, report);
    CheckDriver(importSettings.CommandLine, report);
    CheckDirectories(dataPath, workDirectory, report);
    CheckLibraryBitness(std::string(args.Option("host")), report);
    return report.Finish();
}

}  // namespace

const Command& CheckCommand() {
    static const Command command{
        "check",
        "DATA_PATH [--port COM1..COM10] [--baud 9600..115200] [--timeout \"5 min\"] [--length \"20 liter\"] "
        "[--price \"Cena det\"|\"Cena zak\"] [--host HOST.exe]",
        &RunCheck};
    return command;
}

}  // namespace iwv::cli
