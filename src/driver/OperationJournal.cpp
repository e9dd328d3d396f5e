#include "driver/OperationJournal.h"

#include <cstdio>

#include "common/Journal.h"
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
    : when_(when), kind_(kind), dataPath_(std::move(dataPath)) {}

void OperationJournal::Setting(std::string key, std::string resolvedValue) {
    answers_.emplace_back(std::move(key), std::move(resolvedValue));
}

std::string OperationJournal::Text() const {
    std::string text = Stamp(when_) + (kind_ == DriverKind::Export ? " export " : " import ") + dataPath_ + kLineEnd;
    const auto line = [&text](const char* label, const std::string& value) {
        text += std::string("  ") + label + ": " + value + kLineEnd;
    };
    if (!answers_.empty()) {
        std::string settings;
        for (const auto& [key, value] : answers_) settings += (settings.empty() ? "" : ", ") + key + " " + value;
        line("settings", settings);
    }
    if (settings_) {
        line("time-out", std::to_string(settings_->TimeoutTicks) + " polls of 100 ms");
        line("command line", settings_->CommandLine);
    }
    if (run_) line("driver", DriverEndText(*run_));
    if (lines_) line("lines", LinesText(*lines_));
    for (const std::string& note : notes_) line("note", note);
    if (!outcome_.empty()) line("outcome", outcome_);
    return text + kLineEnd;
}

void OperationJournal::Write(const std::string& workDirectory) const {
    if (workDirectory.empty()) return;
    Journal(JournalPath(workDirectory)).Append(Text());
}

std::string JournalPath(const std::string& workDirectory) { return WorkFilePath(workDirectory, "iwvestra.log"); }

}  // namespace iwv
