#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "TestFiles.h"
#include "resources/ScopedEnvironment.h"

namespace iwv::test {

// How the test driver behaves once started.
struct DriverBehaviour {
    unsigned long exitCode = 0;
    unsigned long delayMilliseconds = 0;
    bool hang = false;
    bool crash = false;  // ends by the platform's kind of crash instead
};

// What the test driver wrote about itself when it started.
struct DriverRecord {
    std::string commandLine;
    std::string directory;
    unsigned long pid = 0;
};

// A scratch directory whose bin holds the test driver under the names
// dlookup.exe and 232_read.exe, with bin put in front of PATH so that the
// bare names of the command lines find it, and an empty work directory for
// the drivers to run in. Everything is undone when it goes.
class DriverSandbox {
public:
    explicit DriverSandbox(const DriverBehaviour& behaviour = {});

    void SetBehaviour(const DriverBehaviour& behaviour);
    std::filesystem::path Bin() const { return root_.Path() / "bin"; }
    std::filesystem::path Work() const { return root_.Path() / "work"; }
    std::string WorkDirectory() const { return Work().string(); }

    // The record in the work directory, once the driver has written it.
    std::optional<DriverRecord> Record() const;
    // Waits for the record; nothing when the driver has not written it in time.
    std::optional<DriverRecord> AwaitRecord(std::chrono::milliseconds limit) const;

private:
    TempDir root_;
    ScopedEnvironment path_;
    ScopedEnvironment exitCode_;
    ScopedEnvironment delay_;
    ScopedEnvironment hang_;
    ScopedEnvironment crash_;
};

}  // namespace iwv::test
