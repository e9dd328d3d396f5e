#include "platform/Process.h"

#include <windows.h>

#include <vector>

#include "platform/WinHandle.h"

namespace iwv::platform {
namespace {

// The drivers are 32-bit programs started by a 32-bit library; the startup
// record they are given has the 32-bit layout.
static_assert(sizeof(void*) != 4 || sizeof(STARTUPINFOA) == 68, "STARTUPINFOA has its 32-bit size");

constexpr DWORD kNormalPriorityClass = 32;
constexpr DWORD kUseShowWindow = 1;
constexpr WORD kShowMinimisedNotActive = 7;

// TerminateProcess only asks for the end; the process is gone when its object
// is signalled, normally within milliseconds. A driver blocked inside the
// serial port's kernel driver ends only when that I/O is cancelled, which
// may take a while but should not hang the host for good: after this long
// the library gives up waiting and lets the host go on.
constexpr DWORD kKillWaitMilliseconds = 30000;

class WindowsDriverProcess final : public DriverProcess {
public:
    ~WindowsDriverProcess() override {
        if (process_.Valid() && !killed_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) Kill();
    }

    // Made before CreateProcessA, so that nothing can fail between the start
    // and the moment this object owns the process handle.
    void Adopt(HANDLE process) { process_ = WinHandle(process); }

    std::uint32_t ExitCode() override {
        // A failed read leaves the driver counted as running, so the time-out
        // still bounds the wait.
        DWORD code = kStillActive;
        ::GetExitCodeProcess(process_.Get(), &code);
        return code;
    }

    void Kill() override {
        killed_ = true;
        ::TerminateProcess(process_.Get(), 0);
        ::WaitForSingleObject(process_.Get(), kKillWaitMilliseconds);
    }

private:
    WinHandle process_;
    bool killed_ = false;
};

STARTUPINFOA MinimisedStartup() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = kUseShowWindow;
    startup.wShowWindow = kShowMinimisedNotActive;
    return startup;
}

}  // namespace

std::string FindProgram(const std::string& name) {
    if (name.empty()) return std::string();
    std::vector<char> found(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::SearchPathA(nullptr, name.c_str(), ".exe", static_cast<DWORD>(found.size()), found.data(), nullptr);
        if (length == 0) return std::string();
        if (length < found.size()) return std::string(found.data(), length);
        found.resize(length);
    }
}

SystemError DriverProcess::Start(const std::string& commandLine, const std::string& workDirectory,
                                 std::unique_ptr<DriverProcess>& started) {
    // CreateProcessA may write into the command line, so it gets a copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = MinimisedStartup();
    PROCESS_INFORMATION created = {};
    auto process = std::make_unique<WindowsDriverProcess>();
    // An empty work directory goes to the system as "" rather than as none;
    // what the system makes of it decides whether the driver starts.
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, kNormalPriorityClass, nullptr,
                          workDirectory.c_str(), &startup, &created))
        return LastSystemError();
    const WinHandle thread(created.hThread);  // only the process handle is used
    process->Adopt(created.hProcess);
    started = std::move(process);
    return {};
}

}  // namespace iwv::platform
