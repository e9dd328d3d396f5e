#include "IsolatedRun.h"

#include <malloc.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/Error.h"

namespace iwv::test {
namespace {

constexpr int kFinished = 0;
constexpr int kFailedWithError = 1;
constexpr int kOtherException = 2;

void WriteAll(int fd, const std::string& text) {
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        data += n;
        left -= static_cast<std::size_t>(n);
    }
}

std::string ReadAll(int fd) {
    std::string text;
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return text;
        text.append(chunk, static_cast<std::size_t>(n));
    }
}

// Runs in the child; never returns, and skips the test framework's exit work.
[[noreturn]] void RunChild(const std::function<void()>& body, int reportFd) {
    int code = kFinished;
    try {
        body();
    } catch (const Error& error) {
        WriteAll(reportFd, error.Message());
        code = kFailedWithError;
    } catch (const std::exception& error) {
        WriteAll(reportFd, error.what());
        code = kOtherException;
    }
    ::_exit(code);
}

}  // namespace

IsolatedResult RunIsolated(const std::function<void()>& body) {
    IsolatedResult result;
    int report[2];
    if (::pipe(report) != 0) {
        result.crashed = true;
        result.how = "no pipe";
        return result;
    }
    // The child starts with this process's resident memory, and its peak
    // counts from there: what the test freed must leave first, so that the
    // peak is the work's and not the test's.
    ::malloc_trim(0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(report[0]);
        RunChild(body, report[1]);
    }
    ::close(report[1]);
    if (pid < 0) {
        ::close(report[0]);
        result.crashed = true;
        result.how = "no child process";
        return result;
    }
    const std::string message = ReadAll(report[0]);
    ::close(report[0]);
    int status = 0;
    struct rusage usage {};
    pid_t waited;
    do {
        waited = ::wait4(pid, &status, 0, &usage);
    } while (waited < 0 && errno == EINTR);
    if (waited != pid) {
        result.crashed = true;
        result.how = "the child process could not be waited for";
        return result;
    }
    result.peakBytes = static_cast<std::size_t>(usage.ru_maxrss) * 1024;  // reported in KiB
    if (WIFSIGNALED(status)) {
        result.crashed = true;
        result.how = std::string("ended by signal ") + ::strsignal(WTERMSIG(status));
    } else if (WEXITSTATUS(status) == kFailedWithError) {
        result.error = message;
    } else if (WEXITSTATUS(status) != kFinished) {
        result.crashed = true;
        result.how = "ended with exit code " + std::to_string(WEXITSTATUS(status)) + ": " + message;
    }
    return result;
}

}  // namespace iwv::test
