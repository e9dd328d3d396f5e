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
#include "platform/SystemError.h"

namespace iwv {

// One export or import as the people who support a shop read it afterwards
// in iwvestra.log in the work directory, in two entries, in Polish: one when
// it starts, with the plug-in's version, the settings and the driver's
// command line, written before the driver runs so that it is there even if
// the host is killed; one when it ends, with how the driver ended, what
// became of the lines, where the terminal's count lies, and the result or
// the error with the system's own reason.
class OperationJournal {
public:
    OperationJournal(platform::LocalTime when, DriverKind kind, std::string dataPath);

    // A parameter as the host answered and as it was resolved.
    void Setting(std::string key, std::string resolvedValue);
    void Settings(const DriverSettings& settings) { settings_ = settings; }
    void Driver(const DriverRun& run) { run_ = run; }
    // The lines of the conversion, counted as it goes, so that one that
    // failed still says how far it got.
    ConversionCounts& Lines() { return lines_.emplace(); }
    // A remark of the operation's own.
    void Note(std::string text) { notes_.push_back(std::move(text)); }
    // Where the terminal's count lies: nowhere (the driver left none),
    // waiting outside the count file, or in it with a copy in the archive.
    void NoTerminalCount(std::string expectedAt) { terminalCount_ = {TerminalCount::None, std::move(expectedAt)}; }
    void TerminalCountWaitsIn(std::string path) { terminalCount_ = {TerminalCount::Waiting, std::move(path)}; }
    void TerminalCountImported(std::string copy) { terminalCount_ = {TerminalCount::Imported, std::move(copy)}; }
    void Result(std::int32_t result) { result_ = result; }
    void Failure(std::string message, platform::SystemError cause);

    // The entries, Windows-1250 with CR LF, each ended by an empty line: the
    // start, and the end at the local time when.
    std::string StartedText() const;
    std::string EndedText(const platform::LocalTime& when) const;

private:
    enum class TerminalCount { Unknown, None, Waiting, Imported };

    std::string Heading(const platform::LocalTime& when, bool begins) const;
    std::string LinesText() const;
    std::string TerminalCountText() const;

    platform::LocalTime startedAt_;
    DriverKind kind_;
    std::string dataPath_;
    std::vector<std::pair<std::string, std::string>> answers_;
    std::optional<DriverSettings> settings_;
    std::optional<DriverRun> run_;
    std::optional<ConversionCounts> lines_;
    std::vector<std::string> notes_;
    std::pair<TerminalCount, std::string> terminalCount_{TerminalCount::Unknown, {}};
    std::optional<std::int32_t> result_;
    std::optional<std::pair<std::string, platform::SystemError>> failure_;
};

// The journal's path in a work directory.
std::string JournalPath(const std::string& workDirectory);

// " (błąd systemu 5: Odmowa dostępu)", the system's own reason for a
// failure; empty for none.
std::string SystemReason(const platform::SystemError& error);

}  // namespace iwv
