// iwvestra check: what a shop's data path and parameters give, worked out by
// the library's own code, and everything the check can see that would make
// an export or an import fail, each on a line of its own, in Polish.

#include <initializer_list>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Arguments.h"
#include "Command.h"
#include "HostBitness.h"
#include "common/PathText.h"
#include "common/Texts.h"
#include "driver/DriverSettings.h"
#include "driver/OperationJournal.h"
#include "driver/Parameters.h"
#include "driver/WorkDirectory.h"
#include "import/CountArchive.h"
#include "platform/Console.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

namespace iwv::cli {
namespace {

namespace t = text::check;
using platform::SystemError;
using Kind = SystemError::Kind;

// Tool option -> parameter key, as iwvestra-host names them.
const std::vector<std::pair<std::string_view, std::string_view>> kParameterOptions = {
    {"port", "port"}, {"baud", "baud"}, {"timeout", "timeout"}, {"length", "dlugosc"}, {"price", "cena"},
};

// SetCurrentDirectory takes a folder whose path, with its final backslash,
// is shorter than MAX_PATH; the drivers run in the work directory.
constexpr std::size_t kLongestDriverFolder = 258;

using Answers = std::map<std::string, std::string>;

// pattern with each %s replaced by the next of values.
std::string Fill(std::string_view pattern, std::initializer_list<std::string> values) {
    std::string filled;
    auto value = values.begin();
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        if (pattern.compare(at, 2, "%s") == 0 && value != values.end()) {
            filled += *value++;
            ++at;
        } else {
            filled += pattern[at];
        }
    }
    return filled;
}

std::string Text(std::string_view text) { return std::string(text); }

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
    rules.push_back({"count", {}, ""});
    return rules;
}

class Report {
public:
    void Show(std::string_view label, const std::string& value) {
        Write(Text(label) + std::string(label.size() < 26 ? 26 - label.size() : 1, ' ') + value);
    }
    void Problem(const std::string& text) {
        Write(Text(t::kProblem) + text);
        ++problems_;
    }
    void Notice(const std::string& text) { Write(Text(t::kNotice) + text); }
    int Finish() {
        Write(problems_ == 0 ? Text(t::kNoProblems) : Fill(t::kProblems, {std::to_string(problems_)}));
        return problems_ == 0 ? kExitOk : kExitFailure;
    }

private:
    static void Write(const std::string& line) { platform::WriteText(platform::StandardStream::Output, line + "\n"); }

    int problems_ = 0;
};

// Whether a file can be made in folder, and is removed again: the system's
// error when not.
SystemError TryWriting(platform::FileSystem& files, const std::string& folder) {
    std::random_device random;
    const std::string probe = WorkFilePath(folder, "~iwvestra-check-" + std::to_string(random() % 100000u));
    std::unique_ptr<platform::WritableFile> file;
    if (const SystemError error = files.CreateNew(probe, file)) return error;
    file.reset();
    files.Remove(probe);
    return {};
}

class Check {
public:
    Check(const Arguments& args, Report& report)
        : args_(args),
          report_(report),
          files_(platform::SystemFileSystem()),
          dataPath_(args.Positional(0)),
          countPath_(args.Option("count")),
          workDirectory_(DeriveWorkDirectory(dataPath_)) {
        for (const auto& [option, key] : kParameterOptions)
            answers_[std::string(key)] = std::string(args.Option(option));
        export_ = Resolve(DriverKind::Export, answers_);
        import_ = Resolve(DriverKind::Import, answers_);
    }

    int Run() {
        ShowSettings();
        CheckValues();
        CheckDriver(export_.CommandLine);
        CheckDriver(import_.CommandLine);
        CheckWorkDirectory();
        CheckDataFiles();
        CheckLibraryBitness();
        return report_.Finish();
    }

private:
    bool Exists(const std::string& path, platform::FileStatus& status) const { return !files_.Status(path, status); }

    void ShowSettings() {
        report_.Show(t::kDataPath, dataPath_);
        const bool driveRoot = workDirectory_.size() == 3 && workDirectory_[1] == ':';
        report_.Show(t::kWorkDirectory, workDirectory_.empty() ? Text(t::kEmpty)
                                                               : workDirectory_ + (driveRoot ? Text(t::kDriveRoot) : ""));
        report_.Show(t::kLookupFile, WorkFilePath(workDirectory_, "inwout.txt"));
        report_.Show(t::kTerminalDataFile, WorkFilePath(workDirectory_, "inwin.txt"));
        if (!countPath_.empty()) report_.Show(t::kCountFile, countPath_);
        if (!workDirectory_.empty()) {
            const CountArchive archive(files_, workDirectory_);
            const CountArchive::Tally tally = archive.Count();
            report_.Show(t::kJournal, JournalPath(workDirectory_));
            report_.Show(t::kArchive, Fill(t::kArchiveTally, {archive.Path(), std::to_string(tally.imported),
                                                               std::to_string(tally.notImported)}));
        }
        report_.Show(t::kExportCommand, export_.CommandLine);
        report_.Show(t::kImportCommand, import_.CommandLine);
        report_.Show(text::kTimeout, Fill(t::kTimeoutValue, {std::to_string(export_.TimeoutTicks / 600),
                                                              std::to_string(export_.TimeoutTicks)}));
        report_.Show(t::kNames, Fill(t::kNameLength, {std::to_string(export_.NameLength)}));
        report_.Show(t::kPrice, Text(export_.PriceLevel == 1 ? t::kPurchase.view() : t::kRetail.view()));
    }

    // A value off the list is passed over by the library: what the drivers
    // or the plug-in then do instead is what the technician needs to know.
    void CheckValues() {
        for (const auto& [option, key] : kParameterOptions) {
            const std::string& value = answers_.at(std::string(key));
            const Parameter& parameter = *FindParameter(key);
            if (parameter.Find(value) != nullptr) continue;
            std::string list;
            for (const ParameterValue& entry : parameter) list += (list.empty() ? "" : "|") + std::string(entry.text);
            const bool code = parameter.field == SettingField::PortCode || parameter.field == SettingField::BaudCode;
            if (code)
                report_.Problem(Fill(t::kCodeNotInList,
                                     {std::string(option), value, list, export_.CommandLine, import_.CommandLine,
                                      Text(parameter.field == SettingField::PortCode ? t::kPortWord.view()
                                                                                     : t::kBaudWord.view())}));
            else
                report_.Problem(Fill(t::kValueNotInList,
                                     {std::string(option), value, list, std::string(parameter.Default().text)}));
        }
    }

    void CheckDriver(const std::string& commandLine) {
        const std::string program = commandLine.substr(0, commandLine.find(' '));
        const std::string found = platform::FindProgram(program);
        if (found.empty())
            report_.Problem(Fill(t::kDriverNotFound, {program}));
        else
            report_.Show(program, found);
    }

    // The work directory holds the lookup file, the terminal's count, the
    // journal, the archive and the lock, and the drivers run there.
    void CheckWorkDirectory() {
        if (workDirectory_.empty()) return report_.Problem(Text(t::kFewBackslashes));
        platform::FileStatus status;
        if (!Exists(workDirectory_, status) || !status.directory)
            return report_.Problem(Fill(t::kWorkMissing, {workDirectory_}));
        if (workDirectory_.size() + 1 > kLongestDriverFolder)
            report_.Problem(Fill(t::kWorkTooLong, {workDirectory_, std::to_string(workDirectory_.size()),
                                                   std::to_string(kLongestDriverFolder - 1)}));
        if (const SystemError error = TryWriting(files_, workDirectory_))
            report_.Problem(Fill(t::kWorkNotWritable, {workDirectory_, SystemReason(error)}));
        const std::string archive = WorkFilePath(workDirectory_, "archiwum");
        if (Exists(archive, status)) {
            if (!status.directory)
                report_.Problem(Fill(t::kArchiveNotFolder, {archive}));
            else if (const SystemError error = TryWriting(files_, archive))
                report_.Problem(Fill(t::kArchiveNotWritable, {archive, SystemReason(error)}));
        }
        const std::string lock = WorkFilePath(workDirectory_, "iwvestra.lock");
        if (Exists(lock, status) && (status.directory || status.readOnly))
            report_.Problem(Fill(t::kLockInTheWay, {lock}));
        const std::string earlier = WorkFilePath(workDirectory_, "inwin.txt");
        if (Exists(earlier, status)) report_.Notice(Fill(t::kEarlierCountWaits, {earlier}));
    }

    // The goods file must be there to be read; the count file's folder must
    // take the new count beside it, and the count file must not be read-only.
    void CheckDataFiles() {
        const std::string dataFolder = FolderOf(dataPath_);
        platform::FileStatus status;
        if (!dataFolder.empty() && (!Exists(dataFolder, status) || !status.directory)) {
            report_.Problem(Fill(t::kDataMissing, {dataFolder}));
        } else {
            if (const SystemError error = TryWriting(files_, dataFolder.empty() ? "." : dataFolder))
                report_.Problem(Fill(t::kDataNotWritable, {dataFolder, SystemReason(error)}));
            CheckGoodsFile();
        }
        if (countPath_.empty()) return;
        const std::string countFolder = FolderOf(countPath_);
        if (countFolder != dataFolder && !countFolder.empty()) {
            if (!Exists(countFolder, status) || !status.directory)
                return report_.Problem(Fill(t::kCountFolderMissing, {countFolder}));
            if (const SystemError error = TryWriting(files_, countFolder))
                report_.Problem(Fill(t::kCountFolderNotWritable, {countFolder, SystemReason(error)}));
        }
        if (Exists(countPath_, status) && status.readOnly) report_.Problem(Fill(t::kCountReadOnly, {countPath_}));
    }

    void CheckGoodsFile() {
        std::unique_ptr<platform::ReadableFile> goods;
        const SystemError error = files_.OpenForReading(dataPath_, platform::FileSystem::Sharing::RefuseWriters, goods);
        if (error.Is(Kind::NotFound))
            report_.Problem(Fill(t::kGoodsMissing, {dataPath_}));
        else if (error)
            report_.Problem(Fill(t::kGoodsUnreadable, {dataPath_, SystemReason(error)}));
    }

    // A host loads only a DLL of its own bitness; Windows refuses the other
    // with error 193. The check runs in the host's folder, where the host
    // loads IWVestra.dll from; a folder without the DLL has nothing to
    // compare.
    void CheckLibraryBitness() {
        const std::string named(args_.Option("host"));
        const int library = ImageBits(files_, "IWVestra.dll");
        if (!named.empty()) {
            const int host = ImageBits(files_, named);
            if (host == 0) return report_.Problem(Fill(t::kHostNotAProgram, {named}));
            report_.Show(t::kHostProgram, Fill(t::kProgramBits, {named, std::to_string(host)}));
            if (library != 0 && library != host)
                report_.Problem(Fill(t::kLibraryDoesNotFit, {std::to_string(library), named, std::to_string(host),
                                                              host == 64 ? "win64" : "win32"}));
            return;
        }
        if (library == 0) return;
        report_.Show("IWVestra.dll", Fill(t::kLibraryHere, {std::to_string(library)}));
        const std::vector<Program> programs = HostCandidates(files_, ".");
        std::string names;
        bool fits = false;
        bool thirtyTwo = false;
        bool sixtyFour = false;
        for (const Program& program : programs) {
            names += (names.empty() ? "" : ", ") + Fill(t::kProgramBits, {program.name, std::to_string(program.bits)});
            fits = fits || program.bits == library;
            (program.bits == 64 ? sixtyFour : thirtyTwo) = true;
        }
        report_.Show(t::kHostProgram, programs.empty() ? Text(t::kNoProgram) : names);
        if (programs.empty()) return;
        if (!fits)
            report_.Problem(Fill(t::kLibraryFitsNoProgram, {std::to_string(library), std::to_string(library),
                                                             library == 64 ? "win32" : "win64"}));
        else if (thirtyTwo && sixtyFour)
            report_.Notice(Text(t::kProgramsOfBothKinds));
    }

    const Arguments& args_;
    Report& report_;
    platform::FileSystem& files_;
    std::string dataPath_;
    std::string countPath_;
    std::string workDirectory_;
    Answers answers_;
    DriverSettings export_;
    DriverSettings import_;
};

int RunCheck(const std::vector<std::string>& arguments) {
    const Arguments args(arguments, 1, Rules());
    Report report;
    return Check(args, report).Run();
}

}  // namespace

const Command& CheckCommand() {
    static const Command command{
        "check",
        "GOODS_FILE [--count COUNT_FILE] [--port COM1..COM10] [--baud 9600..115200] [--timeout \"5 min\"] "
        "[--length \"20 liter\"] [--price \"Cena det\"|\"Cena zak\"] [--host HOST.exe]",
        &RunCheck};
    return command;
}

}  // namespace iwv::cli
