#pragma once

// A host inside the test process: loads IWVestra.dll as a sales program does,
// registers stdcall callbacks that record every call, and catches the
// plug-in's structured exception. Windows build only.

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "LibraryErrorGuard.h"
#include "PluginLibrary.h"

namespace iwv::test {

// One callback call as the host saw it.
struct CallbackCall {
    std::string kind;  // "status", "parameter" or "error"
    std::string text;  // the status or error text, or the parameter key
    std::uint32_t hostContext;
    std::uint32_t callContext;
};

// One registered instance with its host's parameter values and its record of
// callback calls.
class RecordingHost {
public:
    RecordingHost(const host::PluginLibrary& plugin, std::uint32_t hostContext,
                  std::map<std::string, std::string> values);
    ~RecordingHost();
    RecordingHost(const RecordingHost&) = delete;
    RecordingHost& operator=(const RecordingHost&) = delete;

    host::GuardedResult Export(const std::string& dataPath, std::uint32_t callContext);
    // The export with the path exactly as given, null included.
    host::GuardedResult Export(const char* dataPath, std::uint32_t callContext);
    host::GuardedResult Import(const std::string& dataPath, std::uint32_t callContext);

    const std::vector<CallbackCall>& Calls() const { return calls_; }
    // The kinds and texts of the calls, e.g. "parameter:port".
    std::vector<std::string> CallSummary() const;
    std::uint32_t HostContext() const { return hostContext_; }

private:
    host::GuardedResult Run(host::PluginExports::Operation operation, const char* dataPath,
                            std::uint32_t callContext);
    static RecordingHost& Self(std::uint32_t hostContext);
    static std::int32_t __stdcall ShowStatus(std::uint32_t hostContext, std::uint32_t callContext, const char* text);
    static std::int32_t __stdcall GetParameterValue(std::uint32_t hostContext, std::uint32_t callContext,
                                                    const char* key, char* value);
    static std::int32_t __stdcall ReportError(std::uint32_t hostContext, std::uint32_t callContext, const char* text);

    const host::PluginLibrary& plugin_;
    std::uint32_t hostContext_;
    std::map<std::string, std::string> values_;
    void* instance_ = nullptr;
    std::vector<CallbackCall> calls_;
};

// A Windows path for a path of the build tree (Wine maps Z: to /).
std::string WindowsPath(const std::string& unixPath);

}  // namespace iwv::test
