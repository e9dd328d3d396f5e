#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "common/Error.h"
#include "driver/DriverRunner.h"
#include "driver/FakeHost.h"
#include "plugin/HostCallbacks.h"

namespace iwv {
namespace {

using platform::kStillActive;
using test::FakeHost;

constexpr unsigned kForever = std::numeric_limits<unsigned>::max();
const char kStartFailure[] = "B\xB3\xB9" "d uruchomienia driver'a (dlookup.exe).";
const char kConnectionErrorMessage[] = "Nie uda\xB3o si\xEA nawi\xB9zac po\xB3\xB9" "czenia !";

// What the runner did to the scripted process and the clock, in order.
struct Trace {
    std::vector<std::string> events;
    unsigned reads = 0;
    unsigned polls = 0;  // sleeps of 100 ms
};

// A driver that reports itself running for its first runningReads reads.
class ScriptedProcess final : public platform::DriverProcess {
public:
    ScriptedProcess(Trace& trace, unsigned runningReads, std::uint32_t exitCode)
        : trace_(trace), runningReads_(runningReads), exitCode_(exitCode) {}
    ~ScriptedProcess() override { trace_.events.push_back("release"); }

    std::uint32_t ExitCode() override {
        ++trace_.reads;
        return trace_.reads <= runningReads_ ? kStillActive : exitCode_;
    }
    void Kill() override { trace_.events.push_back("kill"); }

private:
    Trace& trace_;
    unsigned runningReads_;
    std::uint32_t exitCode_;
};

DriverRunner::Platform ScriptedPlatform(Trace& trace, bool starts, unsigned runningReads,
                                        std::uint32_t exitCode = 0) {
    DriverRunner::Platform platform;
    platform.Start = [&trace, starts, runningReads, exitCode](const std::string&, const std::string&)
        -> std::unique_ptr<platform::DriverProcess> {
        trace.events.push_back("start");
        if (!starts) return nullptr;
        return std::make_unique<ScriptedProcess>(trace, runningReads, exitCode);
    };
    platform.Sleep = [&trace](unsigned milliseconds) {
        trace.events.push_back("sleep " + std::to_string(milliseconds));
        if (milliseconds == 100) ++trace.polls;
    };
    return platform;
}

enum class Outcome { Ended, TimedOut };

struct PollCase {
    unsigned runningReads;
    std::uint32_t timeoutTicks;
    Outcome outcome;
    unsigned polls;
};

constexpr PollCase kPollCases[] = {
    {0, 3000, Outcome::Ended, 0},  // ended before the first read: never slept for
    {1, 3000, Outcome::Ended, 1},
    {20, 3000, Outcome::Ended, 20},  // a driver that takes about 2 s
    {4, 5, Outcome::Ended, 4},
    {5, 5, Outcome::TimedOut, 5},  // ended during the last sleep: still a time-out
    {kForever, 5, Outcome::TimedOut, 5},
    {kForever, 600, Outcome::TimedOut, 600},
    {kForever, 18000, Outcome::TimedOut, 18000},
    // Limits the 16-bit counter would never reach by equality are bounded.
    {kForever, 0, Outcome::TimedOut, 1},
    {1, 0, Outcome::TimedOut, 1},
    {kForever, 1, Outcome::TimedOut, 1},
    {kForever, 65535, Outcome::TimedOut, 65535},
    {kForever, 65536, Outcome::TimedOut, 65535},
    {kForever, 0xFFFFFFFFu, Outcome::TimedOut, 65535},
};

TEST(DriverRunnerTest, PollsEvery100MillisecondsUntilTheDriverEndsOrTheLimit) {
    for (const PollCase& entry : kPollCases) {
        SCOPED_TRACE("running reads " + std::to_string(entry.runningReads) + ", limit " +
                     std::to_string(entry.timeoutTicks));
        Trace trace;
        FakeHost fake;
        const HostCallbacks host(fake.Instance(), 1);
        const DriverRunner runner(ScriptedPlatform(trace, true, entry.runningReads));
        Outcome outcome = Outcome::Ended;
        try {
            EXPECT_TRUE(runner.Run("dlookup.exe inwout.txt,1,1", entry.timeoutTicks, "C:\\App", kStartFailure, host));
        } catch (const Error& error) {
            outcome = Outcome::TimedOut;
            EXPECT_EQ(error.Message(), kConnectionErrorMessage);
        }
        EXPECT_EQ(outcome, entry.outcome);
        EXPECT_EQ(trace.polls, entry.polls);
        // The exit code is read once before the first sleep and once before each.
        EXPECT_EQ(trace.reads, entry.polls + 1);
        ASSERT_GE(trace.events.size(), 3u);
        EXPECT_EQ(trace.events[0], "start");
        EXPECT_EQ(trace.events[1], "sleep 0");
        const std::vector<std::string> ending = entry.outcome == Outcome::TimedOut
                                                    ? std::vector<std::string>{"sleep 100", "kill", "release"}
                                                    : std::vector<std::string>{"release"};
        EXPECT_EQ(std::vector<std::string>(trace.events.end() - static_cast<long>(ending.size()), trace.events.end()),
                  ending);
        EXPECT_TRUE(fake.errors.empty());
    }
}

TEST(DriverRunnerTest, AnyExitCodeOtherThanStillActiveCountsAsEnded) {
    for (const std::uint32_t exitCode : {0u, 1u, 258u, 260u, 0xFFFFFFFFu}) {
        Trace trace;
        FakeHost fake;
        const HostCallbacks host(fake.Instance(), 1);
        const DriverRunner runner(ScriptedPlatform(trace, true, 3, exitCode));
        EXPECT_TRUE(runner.Run("232_read.exe inwin.txt", 600, "C:\\App", kStartFailure, host)) << exitCode;
        EXPECT_EQ(trace.polls, 3u);
    }
}

TEST(DriverRunnerTest, StartFailureIsReportedOnceAndNotWaitedFor) {
    Trace trace;
    FakeHost fake;
    const HostCallbacks host(fake.Instance(), 0x77);
    const DriverRunner runner(ScriptedPlatform(trace, false, 0));
    EXPECT_FALSE(runner.Run("dlookup.exe inwout.txt,1,1", 3000, "C:\\App", kStartFailure, host));
    EXPECT_EQ(fake.errors, std::vector<std::string>{kStartFailure});
    EXPECT_EQ(fake.callContexts, std::vector<HostWord>{0x77});
    EXPECT_EQ(trace.events, std::vector<std::string>{"start"});
}

}  // namespace
}  // namespace iwv
