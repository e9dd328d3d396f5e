#include "driver/OperationJournal.h"

#include "common/LibraryVersion.h"
#include "common/Texts.h"
#include "common/TimeText.h"
#include "driver/WorkDirectory.h"

namespace iwv {
namespace {

constexpr const char* kLineEnd = "\r\n";

std::string Text(std::string_view text) { return std::string(text); }

void Line(std::string& text, std::string_view label, const std::string& value) {
    text += "  " + Text(label) + ": " + value + kLineEnd;
}

std::string Number(std::uint64_t number) { return std::to_string(number); }

std::string DriverEndText(const DriverRun& run) {
    const std::string after = Text(text::kAfter) + Number(run.milliseconds) + Text(text::kMilliseconds);
    switch (run.end) {
        case DriverEnd::Ended: return Text(text::kDriverEnded) + Number(run.exitCode) + after;
        case DriverEnd::TimedOut: return Text(text::kDriverKilled) + Number(run.milliseconds) + Text(text::kMilliseconds);
        case DriverEnd::CouldNotStart:
            return Text(text::kDriverNotStarted) + ": " +
                   (run.program.empty() ? Text(text::kDriverNotFound) : run.program) + SystemReason(run.startError);
    }
    return {};
}

}  // namespace

std::string SystemReason(const platform::SystemError& error) {
    if (!error) return {};
    const std::string words = platform::SystemErrorText(error.code);
    return " (" + Text(text::kSystemError) + Number(error.code) + (words.empty() ? "" : ": " + words) + ")";
}

OperationJournal::OperationJournal(platform::LocalTime when, DriverKind kind, std::string dataPath)
    : startedAt_(when), kind_(kind), dataPath_(std::move(dataPath)) {}

void OperationJournal::Setting(std::string key, std::string resolvedValue) {
    answers_.emplace_back(std::move(key), std::move(resolvedValue));
}

void OperationJournal::Failure(std::string message, platform::SystemError cause) {
    failure_.emplace(std::move(message), cause);
}

std::string OperationJournal::Heading(const platform::LocalTime& when, bool begins) const {
    const bool exports = kind_ == DriverKind::Export;
    const std::string_view event = begins ? (exports ? text::kExportBegins.view() : text::kImportBegins.view())
                                          : (exports ? text::kExportEnds.view() : text::kImportEnds.view());
    return TimeText(when, TimeStyle::Reading) + " " + Text(event) + " " + dataPath_ + kLineEnd;
}

std::string OperationJournal::StartedText() const {
    std::string text = Heading(startedAt_, true);
    Line(text, text::kPlugIn,
         Text(kProductName) + " " + kProductVersionText + ", " +
             Text(sizeof(void*) == 8 ? text::kBits64.view() : text::kBits32.view()));
    if (!answers_.empty()) {
        std::string settings;
        for (const auto& [key, value] : answers_) settings += (settings.empty() ? "" : ", ") + key + " " + value;
        Line(text, text::kSettings, settings);
    }
    if (settings_) {
        Line(text, text::kTimeout, Number(settings_->TimeoutTicks) + Text(text::kPolls));
        Line(text, text::kCommandLine, settings_->CommandLine);
    }
    return text + kLineEnd;
}

// Every line read is either written or skipped for one reason; an export
// skips none. A conversion that failed wrote nothing the host sees.
std::string OperationJournal::LinesText() const {
    const ConversionCounts& c = *lines_;
    if (kind_ == DriverKind::Export)
        return Text(text::kGoodsLines) + Number(c.read) +
               (failure_ ? Text(text::kNoLookupFile) : Text(text::kLookupLines) + Number(c.written));
    if (failure_) return Text(text::kTerminalLines) + Number(c.read) + Text(text::kNotInTheCountFile);
    return Text(text::kTerminalLines) + Number(c.read) + Text(text::kCountLines) + Number(c.written) +
           Text(text::kSkipped) + Number(c.wrongFieldCount + c.nothingCounted + c.noValue) +
           Text(text::kWrongFieldCount) + Number(c.wrongFieldCount) + Text(text::kNothingCounted) +
           Number(c.nothingCounted) + Text(text::kNoQuantity) + Number(c.noValue) + ")";
}

std::string OperationJournal::TerminalCountText() const {
    const auto& [state, path] = terminalCount_;
    switch (state) {
        case TerminalCount::None: return Text(text::kNoTerminalData) + path + Text(text::kCountFileUnchanged);
        case TerminalCount::Waiting: return Text(text::kCountWaitsIn) + path;
        case TerminalCount::Imported: return Text(text::kCountImported) + path;
        case TerminalCount::Unknown: break;
    }
    return {};
}

std::string OperationJournal::EndedText(const platform::LocalTime& when) const {
    std::string text = Heading(when, false);
    if (run_) Line(text, text::kDriver, DriverEndText(*run_));
    if (lines_) Line(text, text::kLines, LinesText());
    if (terminalCount_.first != TerminalCount::Unknown) Line(text, text::kTerminalCount, TerminalCountText());
    for (const std::string& note : notes_) Line(text, text::kNote, note);
    if (failure_)
        Line(text, text::kFailure, failure_->first + SystemReason(failure_->second));
    else if (result_)
        Line(text, text::kResult, Number(static_cast<std::uint64_t>(*result_)));
    return text + kLineEnd;
}

std::string JournalPath(const std::string& workDirectory) { return WorkFilePath(workDirectory, "iwvestra.log"); }

}  // namespace iwv
