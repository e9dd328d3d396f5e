#pragma once

// Services for running the library's operations in tests without waiting for
// real: every sleep is recorded and moves a fake clock on. A poll of a real
// driver still yields the processor for a millisecond, so that polling a real
// process is no busy loop and a time-out of N polls still takes N of them.

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "driver/OperationServices.h"

namespace iwv::test {

class FakeServices {
public:
    // Every sleep asked for, in milliseconds, in order (0 is a yield, 100 a poll).
    std::vector<unsigned> sleeps;
    std::uint64_t milliseconds = 0;
    platform::LocalTime now{2026, 12, 8, 9, 31, 2};
    decltype(OperationServices::StartDriver) startDriver = &platform::DriverProcess::Start;
    platform::FileSystem* files = &platform::SystemFileSystem();
    // False for drivers that need no real time to run (scripted ones).
    bool yieldOnPoll = true;

    // The pauses of an operation: every sleep but the yield and the polls.
    std::vector<unsigned> Pauses() const {
        std::vector<unsigned> pauses;
        for (unsigned sleep : sleeps)
            if (sleep != 0 && sleep != 100) pauses.push_back(sleep);
        return pauses;
    }
    unsigned Polls() const {
        unsigned polls = 0;
        for (unsigned sleep : sleeps) polls += sleep == 100;
        return polls;
    }

    // Valid while this object lives.
    OperationServices Services() {
        return OperationServices{
            [this](unsigned ms) {
                sleeps.push_back(ms);
                milliseconds += ms;
                if (ms == 100 && yieldOnPoll) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            },
            [this] { return milliseconds; },
            [this] { return now; },
            [this](const std::string& commandLine, const std::string& directory,
                   std::unique_ptr<platform::DriverProcess>& started) {
                return startDriver(commandLine, directory, started);
            },
            files,
        };
    }
};

}  // namespace iwv::test
