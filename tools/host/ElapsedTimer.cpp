#include "ElapsedTimer.h"

#include <chrono>
#include <string>

#include "Console.h"

namespace iwv::host {

ElapsedTimer::ElapsedTimer(unsigned everySeconds) : thread_([this, everySeconds] { Tick(everySeconds); }) {}

ElapsedTimer::~ElapsedTimer() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    stop_.notify_one();
    thread_.join();
}

void ElapsedTimer::Tick(unsigned everySeconds) {
    const auto start = std::chrono::steady_clock::now();
    std::unique_lock<std::mutex> lock(mutex_);
    for (unsigned next = everySeconds;; next += everySeconds) {
        if (stop_.wait_until(lock, start + std::chrono::seconds(next), [this] { return stopping_; })) return;
        PrintError("[host] waiting for the library: " + std::to_string(next) + " s\n");
    }
}

}  // namespace iwv::host
