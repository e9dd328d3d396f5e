#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace iwv::host {

// Shows, from a thread of its own, how long the plug-in has been blocking the
// host's thread, so that an operator watching a long transfer sees it is alive.
class ElapsedTimer {
public:
    explicit ElapsedTimer(unsigned everySeconds);
    ~ElapsedTimer();
    ElapsedTimer(const ElapsedTimer&) = delete;
    ElapsedTimer& operator=(const ElapsedTimer&) = delete;

private:
    void Tick(unsigned everySeconds);

    std::mutex mutex_;
    std::condition_variable stop_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace iwv::host
