#include "platform/BackgroundFlush.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

namespace iwv::platform {
namespace {

// Flushes that succeed or fail as a script says, and tell the test when each
// one has run.
class ScriptedFlushes {
public:
    explicit ScriptedFlushes(std::vector<bool> results) : results_(std::move(results)) {}

    bool Flush() {
        const std::lock_guard<std::mutex> lock(mutex_);
        const bool result = calls_ < results_.size() && results_[calls_];
        ++calls_;
        ran_.notify_all();
        return result;
    }
    void AwaitCalls(std::size_t calls) {
        std::unique_lock<std::mutex> lock(mutex_);
        ran_.wait(lock, [&] { return calls_ >= calls; });
    }
    std::size_t Calls() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return calls_;
    }

private:
    std::vector<bool> results_;
    std::mutex mutex_;
    std::condition_variable ran_;
    std::size_t calls_ = 0;
};

struct FlushCase {
    const char* name;
    std::vector<bool> results;  // of the flushes, one per request, in order
    bool finished;              // what Finish gives
};

void PrintTo(const FlushCase& c, std::ostream* out) { *out << c.name; }

class BackgroundFlushTest : public testing::TestWithParam<FlushCase> {};

// Each request is let run before the next, so every flush happens.
TEST_P(BackgroundFlushTest, FinishReportsAFailedFlushWhicheverItWas) {
    ScriptedFlushes flushes(GetParam().results);
    BackgroundFlush flush([&] { return flushes.Flush(); });
    for (std::size_t i = 0; i < GetParam().results.size(); ++i) {
        flush.Wrote(BackgroundFlush::kEveryBytes);
        flushes.AwaitCalls(i + 1);
    }
    EXPECT_EQ(flush.Finish(), GetParam().finished);
    EXPECT_EQ(flushes.Calls(), GetParam().results.size());
}

INSTANTIATE_TEST_SUITE_P(Flushes, BackgroundFlushTest,
                         testing::Values(FlushCase{"none", {}, true}, FlushCase{"all_flushed", {true, true}, true},
                                         FlushCase{"first_fails", {false, true, true}, false},
                                         FlushCase{"last_fails", {true, true, false}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BackgroundFlush, NothingIsFlushedOnceFinished) {
    ScriptedFlushes flushes({true});
    BackgroundFlush flush([&] { return flushes.Flush(); });
    EXPECT_TRUE(flush.Finish());
    flush.Wrote(BackgroundFlush::kEveryBytes);
    EXPECT_TRUE(flush.Finish());
    EXPECT_EQ(flushes.Calls(), 0u);
}

}  // namespace
}  // namespace iwv::platform
