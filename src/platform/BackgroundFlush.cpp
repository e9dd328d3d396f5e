#include "platform/BackgroundFlush.h"

#include <system_error>

namespace iwv::platform {

void BackgroundFlush::Request() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (finishing_) return;
        if (!thread_.joinable()) {
            try {
                thread_ = std::thread([this] { Run(); });
            } catch (const std::system_error&) {
                return;
            }
        }
        wanted_ = true;
    }
    wake_.notify_one();
}

bool BackgroundFlush::Finish() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        finishing_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
    return !failed_;
}

void BackgroundFlush::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return wanted_ || finishing_; });
        // What is left when the writer finishes is the final flush's.
        if (finishing_) return;
        wanted_ = false;
        lock.unlock();
        const bool flushed = flush_();
        lock.lock();
        failed_ = failed_ || !flushed;
    }
}

}  // namespace iwv::platform
