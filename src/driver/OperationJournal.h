#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/ConversionCounts.h"
#include "driver/DriverRunner.h"
#include "driver/DriverSettings.h"
#include "platform/Clock.h"

namespace iwv {

// One export or import as the people who support a shop read it afterwards
// in iwvestra.log in the work directory, in two entries: one when it starts,
// with the settings and the driver's command line, written before the driver
// runs so that it is there even if the host is killed; one when it ends,
// with how the driver ended, what became of the lines, and the result or the
// error.
class OperationJournal {
public:
    OperationJournal(platform::LocalTime when, DriverKind kind, std::string dataPath);

    // A parameter as the host answered and as it was resolved.
    void Setting(std::string key, std::string resolvedValue);
    void Settings(const DriverSettings& settings) { settings_ = settings; }
    void Driver(const DriverRun& run) { run_ = run; }
    void Lines(const ConversionCounts& counts) { lines_ = counts; }
    // A remark of the operation's own, such as where its archive went.
    void Note(std::string text) { notes_.push_back(std::move(text)); }
    // Where the terminal's count lies now, for whoever must find it.
    void TerminalCountAt(std::string path) { terminalCount_ = std::move(path); }
    void Result(std::int32_t result) { outcome_ = "result " + std::to_string(result); }
    void Failure(const std::string& message) { outcome_ = "error: " + message; }

    // The entries, Windows-1250 with CR LF, each ended by an empty line: the
    // start, and the end at the local time when.
    std::string StartedText() const;
    std::string EndedText(const platform::LocalTime& when) const;

private:
    std::string Heading(const platform::LocalTime& when, const char* phase) const;

    platform::LocalTime startedAt_;
    DriverKind kind_;
    std::string dataPath_;
    std::vector<std::pair<std::string, std::string>> answers_;
    std::optional<DriverSettings> settings_;
    std::optional<DriverRun> run_;
    std::optional<ConversionCounts> lines_;
    std::vector<std::string> notes_;
    std::string terminalCount_;
    std::string outcome_;
};

// The journal's path in a work directory.
std::string JournalPath(const std::string& workDirectory);

}  // namespace iwv
