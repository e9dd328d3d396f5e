#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace iwv::platform {

// Makes a file that is being written durable a part at a time, on a thread of
// its own, while the writing goes on. A disk's flush takes time in proportion
// to what was written since the last one: left to the end, it holds up the
// writer for about a fifth of a large conversion; done in the background, the
// final flush waits only for the last few megabytes. The thread is started by
// the first flush, so a small file costs none.
class BackgroundFlush {
public:
    // flush() makes what the file holds by then durable, false when it fails.
    // It is called from the thread only, never after Finish.
    explicit BackgroundFlush(std::function<bool()> flush) : flush_(std::move(flush)) {}
    ~BackgroundFlush() { Finish(); }
    BackgroundFlush(const BackgroundFlush&) = delete;
    BackgroundFlush& operator=(const BackgroundFlush&) = delete;

    // A flush is asked for each time this many more bytes have been written.
    static constexpr std::uint64_t kEveryBytes = std::uint64_t{4} << 20;

    // Counts bytes just written to the file, and asks for a flush of what it
    // holds once kEveryBytes more have been written since the last request;
    // one already waiting to start serves. Where no thread can be started,
    // nothing is flushed before the final flush, which then simply takes
    // longer.
    void Wrote(std::uint64_t bytes) {
        unrequested_ += bytes;
        if (unrequested_ < kEveryBytes) return;
        unrequested_ = 0;
        Request();
    }
    // Waits for a flush under way and ends the thread. False when any flush
    // failed: a file's write error is reported once only, so the final flush
    // would not see it again.
    bool Finish();

private:
    void Request();
    void Run();

    std::function<bool()> flush_;
    std::uint64_t unrequested_ = 0;  // bytes written since the last request
    std::mutex mutex_;
    std::condition_variable wake_;
    bool wanted_ = false;
    bool finishing_ = false;
    bool failed_ = false;
    std::thread thread_;
};

}  // namespace iwv::platform
