#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/Error.h"
#include "driver/DriverRunner.h"
#include "driver/DriverSettings.h"
#include "driver/OperationJournal.h"
#include "driver/OperationServices.h"
#include "host/HostCallbacks.h"

namespace iwv {

// One export or import call as the host sees it: its callbacks, the start
// that both operations share, the one place where a driver's end becomes
// the host's result or error, and the journal entry that records it all.
class Operation {
public:
    Operation(const LibraryInstance& instance, HostWord callContext, const OperationServices& services,
              DriverKind kind, const char* dataPath);

    // Runs body (which returns the host's result) and journals how it ended,
    // every failure included, which then goes on to the host unchanged.
    template <typename Body>
    std::int32_t Journaled(Body body) {
        std::int32_t result = 0;
        try {
            result = body();
        } catch (...) {
            JournalEnd(nullptr);
            throw;
        }
        JournalEnd(&result);
        return result;
    }

    // Resolves the host's parameters and takes the work directory for this
    // operation alone, across processes and machines that share it. While
    // another operation holds it, the host is told so through ReportError
    // and there are no settings: the call then returns 0 having touched
    // nothing. Otherwise journals the start, shows the operator
    // "\nTransakcja w toku ..." and gives the dock a second to settle before
    // any file is touched. Throws Error "Cannot create file <lock>" when the
    // work directory cannot be locked at all.
    std::optional<DriverSettings> Start();

    // Runs the driver in the work directory. A driver that could not be
    // started is reported through ReportError with startFailureText (the run
    // then says CouldNotStart); one still running at its time-out has been
    // killed and ends the call with ConnectionError.
    DriverRun RunDriver(const DriverSettings& settings, const char* startFailureText);

    void Pause(unsigned milliseconds) const { services_.Sleep(milliseconds); }
    const OperationServices& Services() const { return services_; }
    platform::FileSystem& Files() const { return *services_.Files; }
    const std::string& DataPath() const { return dataPath_; }
    const std::string& WorkDirectory() const { return workDirectory_; }
    // The local time at which the call began.
    const platform::LocalTime& StartedAt() const { return startedAt_; }
    OperationJournal& Journal() { return journal_; }

private:
    // False when another operation holds the work directory.
    bool TakeWorkDirectory();
    // Appends an entry to the journal in the work directory. A journal never
    // changes an operation's outcome: nothing it meets goes any further.
    void WriteJournal(const std::string& entry) const noexcept;
    // The end: the result when there is one, otherwise the failure being
    // handled.
    void JournalEnd(const std::int32_t* result) noexcept;

    HostCallbacks host_;
    const OperationServices& services_;
    DriverKind kind_;
    platform::LocalTime startedAt_;
    std::string dataPath_;
    std::string workDirectory_;
    OperationJournal journal_;
    // Held from Start to the end of the call. The journal is written only
    // under it, so that one process at a time rotates it.
    std::unique_ptr<platform::FileLock> lock_;
};

}  // namespace iwv
