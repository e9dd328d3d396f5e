#include "platform/Process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/PosixPath.h"

extern char** environ;

namespace iwv::platform {
namespace {

// What a shell reports for a process that a signal ended; never 259.
constexpr std::uint32_t kSignalExitBase = 128;
// A child reaped by someone else (a host that ignores SIGCHLD) has ended,
// but its code is lost.
constexpr std::uint32_t kLostExitCode = 255;
constexpr int kChildFailureExit = 127;

std::uint32_t DecodeStatus(int status) {
    if (WIFEXITED(status)) return static_cast<std::uint32_t>(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return kSignalExitBase + static_cast<std::uint32_t>(WTERMSIG(status));
    return kLostExitCode;
}

// Waits for pid as options allow; 0 while it still runs, else the pid or -1.
pid_t WaitFor(pid_t pid, int& status, int options) {
    pid_t result;
    do {
        result = ::waitpid(pid, &status, options);
    } while (result < 0 && errno == EINTR);
    return result;
}

class PosixDriverProcess final : public DriverProcess {
public:
    ~PosixDriverProcess() override { Kill(); }

    // Made before the fork, so that nothing can fail between the fork and
    // the moment this object owns the child.
    void Adopt(pid_t pid) {
        pid_ = pid;
        ended_ = false;
    }

    std::uint32_t ExitCode() override {
        if (!ended_) Reap(WNOHANG);
        return ended_ ? exitCode_ : kStillActive;
    }

    void Kill() override {
        if (ended_) return;
        ::kill(pid_, SIGKILL);
        Reap(0);
    }

private:
    void Reap(int options) {
        int status = 0;
        const pid_t result = WaitFor(pid_, status, options);
        if (result == 0) return;
        ended_ = true;
        exitCode_ = result < 0 ? kLostExitCode : DecodeStatus(status);
    }

    // Until Adopt there is no child: never signal pid 0 or -1.
    pid_t pid_ = 0;
    bool ended_ = true;
    std::uint32_t exitCode_ = kStillActive;
};

// Runs in the forked child: only async-signal-safe calls. A failure goes back
// to the parent through the pipe, which exec closes on success.
[[noreturn]] void RunChild(int reportFd, const char* directory, const char* program, char* const arguments[],
                           char* const environment[]) {
    if (::chdir(directory) == 0) ::execve(program, arguments, environment);
    const int error = errno;
    // Four bytes into an empty pipe do not fail in practice; if they did, the
    // driver would show as one that ended at once with kChildFailureExit.
    [[maybe_unused]] const ssize_t written = ::write(reportFd, &error, sizeof error);
    ::_exit(kChildFailureExit);
}

// The pid of a child that has changed to directory and executed program, or
// -1 when either step failed (the child is then reaped already), with the
// system's error.
pid_t Spawn(const char* program, char* const arguments[], const char* directory, SystemError& error) {
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        error = LastSystemError();
        return -1;
    }
    char* const* environment = environ;
    const pid_t pid = ::fork();
    if (pid == 0) RunChild(report[1], directory, program, arguments, environment);
    ::close(report[1]);
    if (pid < 0) {
        error = LastSystemError();
        ::close(report[0]);
        return -1;
    }
    int childError = 0;
    ssize_t got;
    do {
        got = ::read(report[0], &childError, sizeof childError);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (got == 0) return pid;
    error = {KindOfSystemCode(static_cast<std::uint32_t>(childError)), static_cast<std::uint32_t>(childError)};
    // Whatever went wrong, no child may be left running or unreaped.
    int status = 0;
    ::kill(pid, SIGKILL);
    WaitFor(pid, status, 0);
    return -1;
}

bool IsExecutableFile(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The child changes directory before exec, so a program found through a
// relative PATH entry must be named from the parent's directory.
std::string Absolute(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? std::string() : absolute.string();
}

std::vector<std::string> SearchDirectories() {
    const char* variable = std::getenv("PATH");
    const std::string_view list = variable ? variable : "/bin:/usr/bin";
    std::vector<std::string> directories;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = list.find(':', begin);
        const std::string_view entry = list.substr(begin, end == std::string_view::npos ? end : end - begin);
        directories.emplace_back(entry.empty() ? "." : entry);
        if (end == std::string_view::npos) return directories;
        begin = end + 1;
    }
}

}  // namespace

std::string FindProgram(const std::string& name) {
    if (name.empty()) return std::string();
    if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? Absolute(name) : std::string();
    for (const std::string& directory : SearchDirectories()) {
        const std::string candidate = directory + "/" + name;
        if (IsExecutableFile(candidate)) return Absolute(candidate);
    }
    return std::string();
}

SystemError DriverProcess::Start(const std::string& commandLine, const std::string& workDirectory,
                                 std::unique_ptr<DriverProcess>& started) {
    if (workDirectory.empty()) return SystemErrorOfKind(SystemError::Kind::NotFound);
    const std::size_t space = commandLine.find(' ');
    std::vector<std::string> words{commandLine.substr(0, space)};
    if (space != std::string::npos) words.push_back(commandLine.substr(space + 1));
    const std::string program = FindProgram(words.front());
    if (program.empty()) return SystemErrorOfKind(SystemError::Kind::NotFound);

    std::vector<char*> arguments;
    for (std::string& word : words) arguments.push_back(word.data());
    arguments.push_back(nullptr);
    auto process = std::make_unique<PosixDriverProcess>();
    const std::string directory = PosixPath(workDirectory);
    SystemError error;
    const pid_t pid = Spawn(program.c_str(), arguments.data(), directory.c_str(), error);
    if (pid < 0) return error;
    process->Adopt(pid);
    started = std::move(process);
    return {};
}

}  // namespace iwv::platform
