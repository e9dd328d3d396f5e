#include "driver/OperationJournal.h"

#include <cstdio>

#include "driver/WorkDirectory.h"

namespace iwv {
namespace {

constexpr const char* kLineEnd = "\r\n";

std::string Stamp(const platform::LocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

void Line(std::string& text, const char* label, const std::string& value) {
    text += std::string("  ") + label + ": " + value + kLineEnd;
}

std::string DriverEndText(const DriverRun& run) {
    const std::string after = " after " + std::to_string(run.milliseconds) + " ms";
    switch (run.end) {
        case DriverEnd::Ended: return "ended with exit code " + std::to_string(run.exitCode) + after;
        case DriverEnd::CouldNotStart: return "could not be started";
        case DriverEnd::TimedOut: return "killed at its time-out" + after;
    }
    return {};
}

std::string LinesText(const ConversionCounts& c) {
    const std::uint64_t skipped = c.wrongFieldCount + c.nothingCounted + c.noValue;
    return "read " + std::to_string(c.read) + ", written " + std::to_string(c.written) + ", skipped " +
           std::to_string(skipped) + " (wrong number of fields " + std::to_string(c.wrongFieldCount) +
           ", quantity \"00000\" " + std::to_string(c.nothingCounted) + ", no value " + std::to_string(c.noValue) +
           ")";
}

}  // namespace

OperationJournal::OperationJournal(platform::LocalTime when, DriverKind kind, std::string dataPath)
    : startedAt_(when), kind_(kind), dataPath_(std::move(dataPath)) {}

void OperationJournal::Setting(std::string key, std::string resolvedValue) {
    answers_.emplace_back(std::move(key), std::move(resolvedValue));
}

std::string OperationJournal::Heading(const platform::LocalTime& when, const char* phase) const {
    return Stamp(when) + (kind_ == DriverKind::Export ? " export " : " import ") + phase + " " + dataPath_ + kLineEnd;
}

std::string OperationJournal::StartedText() const {
    std::string text = Heading(startedAt_, "started");
    if (!answers_.empty()) {
        std::string settings;
        for (const auto& [key, value] : answers_) settings += (settings.empty() ? "" : ", ") + key + " " + value;
        Line(text, "settings", settings);
    }
    if (settings_) {
        Line(text, "time-out", std::to_string(settings_->TimeoutTicks) + " polls of 100 ms");
        Line(text, "command line", settings_->CommandLine);
    }
    return text + kLineEnd;
}

std::string OperationJournal::EndedText(const platform::LocalTime& when) const {
    std::string text = Heading(when, "ended");
    if (run_) Line(text, "driver", DriverEndText(*run_));
    if (lines_) Line(text, "lines", LinesText(*lines_));
    for (const std::string& note : notes_) Line(text, "note", note);
    if (!terminalCount_.empty()) Line(text, "terminal count", terminalCount_);
    if (!outcome_.empty()) Line(text, "outcome", outcome_);
    return text + kLineEnd;
}

std::string JournalPath(const std::string& workDirectory) { return WorkFilePath(workDirectory, "iwvestra.log"); }

}  // namespace iwv
