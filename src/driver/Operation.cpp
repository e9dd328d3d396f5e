#include "driver/Operation.h"

#include "common/Cp1250.h"
#include "common/Journal.h"
#include "driver/ConnectionError.h"
#include "driver/Parameters.h"
#include "driver/WorkDirectory.h"

namespace iwv {
namespace {

constexpr auto kTransactionStatus = Cp1250("\nTransakcja w toku ...");
constexpr auto kBusyStart = Cp1250("Inna wymiana danych z inwentaryzatorem trwa w folderze ");
constexpr auto kBusyEnd = Cp1250(". Spróbuj ponownie, gdy się zakończy.");
constexpr unsigned kSettleMilliseconds = 1000;

// What a parameter resolved to, as the journal shows it: the host's answer
// when the list knows it. Any other answer leaves a number at its default and
// puts no port or speed code on the command line, and the journal says which.
std::string ResolvedText(const char* key, const std::string& answer) {
    const Parameter* parameter = FindParameter(key);
    if (parameter == nullptr || parameter->Find(answer) != nullptr) return answer;
    const bool code = parameter->field == SettingField::PortCode || parameter->field == SettingField::BaudCode;
    return "\"" + answer + "\" is not in the list, so " +
           (code ? std::string("no code") : std::string(parameter->Default().text));
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
        host_.ReportError((std::string(kBusyStart.view()) + workDirectory_ + std::string(kBusyEnd.view())).c_str());
        return std::nullopt;
    }
    journal_.Settings(settings);
    WriteJournal(journal_.StartedText());
    host_.ShowStatus(kTransactionStatus.c_str());
    Pause(kSettleMilliseconds);
    return settings;
}

DriverRun Operation::RunDriver(const DriverSettings& settings, const char* startFailureText) {
    const DriverRun run = DriverRunner(services_).Run(settings.CommandLine, settings.TimeoutTicks, workDirectory_);
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
    if (error && !error.Is(platform::SystemError::Kind::NotFound)) throw Error("Cannot create file " + path, error);
    return true;
}

void Operation::WriteJournal(const std::string& entry) const noexcept {
    if (!lock_) return;
    try {
        iwv::Journal(*services_.Files, JournalPath(workDirectory_)).Append(entry);
    } catch (...) {
    }
}

void Operation::JournalEnd(const std::int32_t* result, const char* failure) noexcept {
    try {
        if (result != nullptr)
            journal_.Result(*result);
        else
            journal_.Failure(failure);
        WriteJournal(journal_.EndedText(services_.Now()));
    } catch (...) {
    }
}

}  // namespace iwv
