#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "driver/DriverRunner.h"
#include "support/FakeServices.h"

namespace iwv {
namespace {

using platform::kStillActive;

constexpr unsigned kForever = std::numeric_limits<unsigned>::max();

// What the runner did to the scripted process, in order.
struct Trace {
    std::vector<std::string> events;
    unsigned reads = 0;
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

// Services whose driver is scripted: it starts (or not) and then reports
// itself running for its first runningReads reads.
test::FakeServices Scripted(Trace& trace, bool starts, unsigned runningReads, std::uint32_t exitCode = 0) {
    test::FakeServices fake;
    fake.yieldOnPoll = false;  // a scripted driver needs no time to run
    fake.startDriver = [&trace, starts, runningReads, exitCode](const std::string&, const std::string&,
                                                                 std::unique_ptr<platform::DriverProcess>& started) {
        trace.events.push_back("start");
        if (!starts) return platform::SystemErrorOfKind(platform::SystemError::Kind::NotFound);
        started = std::make_unique<ScriptedProcess>(trace, runningReads, exitCode);
        return platform::SystemError{};
    };
    return fake;
}

struct PollCase {
    unsigned runningReads;
    std::uint32_t timeoutTicks;
    DriverEnd end;
    unsigned polls;
};

constexpr PollCase kPollCases[] = {
    {0, 3000, DriverEnd::Ended, 0},  // ended before the first read: never slept for
    {1, 3000, DriverEnd::Ended, 1},
    {20, 3000, DriverEnd::Ended, 20},  // a driver that takes about 2 s
    {4, 5, DriverEnd::Ended, 4},
    {5, 5, DriverEnd::TimedOut, 5},  // ended during the last sleep: still a time-out
    {kForever, 5, DriverEnd::TimedOut, 5},
    {kForever, 600, DriverEnd::TimedOut, 600},
    {kForever, 18000, DriverEnd::TimedOut, 18000},
    // Limits the 16-bit counter would never reach by equality are bounded.
    {kForever, 0, DriverEnd::TimedOut, 1},
    {1, 0, DriverEnd::TimedOut, 1},
    {kForever, 1, DriverEnd::TimedOut, 1},
    {kForever, 65535, DriverEnd::TimedOut, 65535},
    {kForever, 65536, DriverEnd::TimedOut, 65535},
    {kForever, 0xFFFFFFFFu, DriverEnd::TimedOut, 65535},
};

TEST(DriverRunnerTest, PollsEvery100MillisecondsUntilTheDriverEndsOrTheLimit) {
    for (const PollCase& entry : kPollCases) {
        SCOPED_TRACE("running reads " + std::to_string(entry.runningReads) + ", limit " +
                     std::to_string(entry.timeoutTicks));
        Trace trace;
        test::FakeServices fake = Scripted(trace, true, entry.runningReads);
        const OperationServices services = fake.Services();
        const DriverRun run = DriverRunner(services).Run("dlookup.exe inwout.txt,1,1", entry.timeoutTicks, "C:\\App");
        EXPECT_EQ(run.end, entry.end);
        EXPECT_EQ(fake.Polls(), entry.polls);
        EXPECT_EQ(run.milliseconds, entry.polls * 100u);
        // The exit code is read once before the first sleep and once before each.
        EXPECT_EQ(trace.reads, entry.polls + 1);
        ASSERT_GE(trace.events.size(), 2u);
        EXPECT_EQ(trace.events[0], "start");
        EXPECT_EQ(fake.sleeps.front(), 0u);
        const std::vector<std::string> ending = entry.end == DriverEnd::TimedOut
                                                    ? std::vector<std::string>{"kill", "release"}
                                                    : std::vector<std::string>{"release"};
        EXPECT_EQ(std::vector<std::string>(trace.events.end() - static_cast<long>(ending.size()), trace.events.end()),
                  ending);
    }
}

TEST(DriverRunnerTest, AnyExitCodeOtherThanStillActiveCountsAsEndedAndIsKept) {
    for (const std::uint32_t exitCode : {0u, 1u, 258u, 260u, 0xFFFFFFFFu}) {
        Trace trace;
        test::FakeServices fake = Scripted(trace, true, 3, exitCode);
        const OperationServices services = fake.Services();
        const DriverRun run = DriverRunner(services).Run("232_read.exe inwin.txt", 600, "C:\\App");
        EXPECT_EQ(run.end, DriverEnd::Ended) << exitCode;
        EXPECT_EQ(run.exitCode, exitCode);
        EXPECT_EQ(fake.Polls(), 3u);
    }
}

TEST(DriverRunnerTest, StartFailureIsNotWaitedFor) {
    Trace trace;
    test::FakeServices fake = Scripted(trace, false, 0);
    const OperationServices services = fake.Services();
    EXPECT_EQ(DriverRunner(services).Run("dlookup.exe inwout.txt,1,1", 3000, "C:\\App").end, DriverEnd::CouldNotStart);
    EXPECT_EQ(trace.events, std::vector<std::string>{"start"});
    EXPECT_TRUE(fake.sleeps.empty());
}

}  // namespace
}  // namespace iwv
