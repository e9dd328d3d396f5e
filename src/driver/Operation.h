#pragma once

#include <cstdint>
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
            JournalEnd(nullptr, CurrentFailureText());
            throw;
        }
        JournalEnd(&result, nullptr);
        return result;
    }

    // Resolves the host's parameters, journals the start, shows the operator
    // "\nTransakcja w toku ..." and gives the dock a second to settle before
    // any file is touched.
    DriverSettings Start();

    // Runs the driver in the work directory. A driver that could not be
    // started is reported through ReportError with startFailureText (the run
    // then says CouldNotStart); one still running at its time-out has been
    // killed and ends the call with ConnectionError.
    DriverRun RunDriver(const DriverSettings& settings, const char* startFailureText);

    void Pause(unsigned milliseconds) const { services_.Sleep(milliseconds); }
    const std::string& DataPath() const { return dataPath_; }
    const std::string& WorkDirectory() const { return workDirectory_; }
    // The local time at which the call began.
    const platform::LocalTime& StartedAt() const { return startedAt_; }
    OperationJournal& Journal() { return journal_; }

private:
    // Appends an entry to the journal in the work directory. A journal never
    // changes an operation's outcome: nothing it meets goes any further.
    void WriteJournal(const std::string& entry) const noexcept;
    // The end: the result when there is one, otherwise the failure's text.
    void JournalEnd(const std::int32_t* result, const char* failure) noexcept;

    HostCallbacks host_;
    const OperationServices& services_;
    DriverKind kind_;
    platform::LocalTime startedAt_;
    std::string dataPath_;
    std::string workDirectory_;
    OperationJournal journal_;
};

}  // namespace iwv
