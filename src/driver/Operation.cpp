#include "driver/Operation.h"

#include "common/Journal.h"
#include "common/Texts.h"
#include "driver/ConnectionError.h"
#include "driver/Parameters.h"
#include "driver/WorkDirectory.h"

namespace iwv {
namespace {

constexpr unsigned kSettleMilliseconds = 1000;

// What a parameter resolved to, as the journal shows it: the host's answer
// when the list knows it. Any other answer leaves a number at its default and
// puts no port or speed code on the command line, and the journal says which.
std::string ResolvedText(const char* key, const std::string& answer) {
    const Parameter* parameter = FindParameter(key);
    if (parameter == nullptr || parameter->Find(answer) != nullptr) return answer;
    const bool code = parameter->field == SettingField::PortCode || parameter->field == SettingField::BaudCode;
    return "\x84" + answer + "\x94" + std::string(text::kNotInTheList) +
           (code ? std::string(text::kNoCode) : std::string(parameter->Default().text));
}

// The program a command line's first word names, as the program search finds it.
std::string ProgramOf(const std::string& commandLine) {
    return platform::FindProgram(commandLine.substr(0, commandLine.find(' ')));
}

}  // namespace

Operation::Operation(const LibraryInstance& instance, HostWord callContext, const OperationServices& services,
                     DriverKind kind, const char* dataPath)
    : host_(instance, callContext),
      services_(services),
      kind_(kind),
      startedAt_(services.Now()),
      dataPath_(dataPath),
      workDirectory_(DeriveWorkDirectory(dataPath_)),
      journal_(startedAt_, kind, dataPath_) {}

std::optional<DriverSettings> Operation::Start() {
    const DriverSettings settings = ResolveDriverSettings(kind_, [this](const char* key) {
        std::string answer = host_.GetParameterValue(key);
        journal_.Setting(key, ResolvedText(key, answer));
        return answer;
    });
    if (!TakeWorkDirectory()) {
        host_.ReportError((std::string(text::kBusy) + workDirectory_ + std::string(text::kBusyEnd)).c_str());
        return std::nullopt;
    }
    journal_.Settings(settings);
    WriteJournal(journal_.StartedText());
    host_.ShowStatus(text::kTransactionStatus.c_str());
    Pause(kSettleMilliseconds);
    return settings;
}

DriverRun Operation::RunDriver(const DriverSettings& settings, const char* startFailureText) {
    DriverRun run = DriverRunner(services_).Run(settings.CommandLine, settings.TimeoutTicks, workDirectory_);
    if (run.end == DriverEnd::CouldNotStart) run.program = ProgramOf(settings.CommandLine);
    journal_.Driver(run);
    if (run.end == DriverEnd::CouldNotStart) host_.ReportError(startFailureText);
    if (run.end == DriverEnd::TimedOut) throw ConnectionError();
    return run;
}

// No work directory, or none there yet: nothing to share, nothing to lock.
bool Operation::TakeWorkDirectory() {
    if (workDirectory_.empty()) return true;
    const std::string path = WorkFilePath(workDirectory_, "iwvestra.lock");
    const platform::SystemError error = services_.Files->Lock(path, lock_);
    if (error.Is(platform::SystemError::Kind::InUse)) return false;
    if (error && !error.Is(platform::SystemError::Kind::NotFound))
        throw Error(std::string(text::kCannotCreate) + path, error);
    return true;
}

void Operation::WriteJournal(const std::string& entry) const noexcept {
    if (!lock_) return;
    try {
        iwv::Journal(*services_.Files, JournalPath(workDirectory_)).Append(entry);
    } catch (...) {
    }
}

void Operation::JournalEnd(const std::int32_t* result) noexcept {
    try {
        if (result != nullptr)
            journal_.Result(*result);
        else
            journal_.Failure(CurrentFailureText(), CurrentFailureCause());
        WriteJournal(journal_.EndedText(services_.Now()));
    } catch (...) {
    }
}

}  // namespace iwv
