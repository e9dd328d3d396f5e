#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "host/LibraryInstance.h"
#include "support/RecordingHost.h"

namespace iwv::test {

// What a host gets from an export or import call: its result, or the
// library error that ended it instead.
struct OperationResult {
    bool raised = false;
    std::int32_t value = 0;
    std::string message;
    // Where the error reaches the host as a structured exception (Windows):
    // the code and flags its handler was given; 0 where none was raised.
    std::uint32_t exceptionCode = 0;
    std::uint32_t exceptionFlags = 0;
};

// Whether result is the library error with message, arrived as this build's
// host receives one: on Windows the non-continuable structured exception
// IWV_LIBRARY_ERROR, natively the C++ exception.
testing::AssertionResult IsLibraryError(const OperationResult& result, const std::string& message);

// The plug-in's entry points as this build's host reaches them: natively the
// linked functions, on Windows the exports of IWVestra.dll, loaded as a host
// loads it, with the library's structured exception caught as a host catches
// it.
class PluginEntryPoints {
public:
    PluginEntryPoints();  // throws std::runtime_error when the DLL cannot be loaded
    ~PluginEntryPoints();
    PluginEntryPoints(const PluginEntryPoints&) = delete;
    PluginEntryPoints& operator=(const PluginEntryPoints&) = delete;

    void* Register(HostWord hostContext);
    void RegisterCallback(void* instance, void* function, std::int32_t kind);
    void Free(void* instance);
    OperationResult Export(void* instance, HostWord callContext, const char* dataPath);
    OperationResult Import(void* instance, HostWord callContext, const char* dataPath);

private:
    struct Library;
    std::unique_ptr<Library> library_;
};

// A RecordingHost registered on an instance of its own, with its three
// callbacks, for as long as it lives. Its address is its HostContext.
class RegisteredHost {
public:
    explicit RegisteredHost(PluginEntryPoints& plugin) : plugin_(plugin), instance_(plugin.Register(host.Context())) {
        plugin_.RegisterCallback(instance_, reinterpret_cast<void*>(&RecordingHost::ShowStatus), IWV_CALLBACK_SHOW_STATUS);
        plugin_.RegisterCallback(instance_, reinterpret_cast<void*>(&RecordingHost::GetParameterValue),
                                 IWV_CALLBACK_GET_PARAMETER_VALUE);
        plugin_.RegisterCallback(instance_, reinterpret_cast<void*>(&RecordingHost::ReportError), IWV_CALLBACK_REPORT_ERROR);
    }
    ~RegisteredHost() { plugin_.Free(instance_); }
    RegisteredHost(const RegisteredHost&) = delete;
    RegisteredHost& operator=(const RegisteredHost&) = delete;

    OperationResult Export(const std::string& dataPath, HostWord callContext) {
        return plugin_.Export(instance_, callContext, dataPath.c_str());
    }
    // The export with the path exactly as given, null included.
    OperationResult Export(const char* dataPath, HostWord callContext) {
        return plugin_.Export(instance_, callContext, dataPath);
    }
    OperationResult Import(const std::string& dataPath, HostWord callContext) {
        return plugin_.Import(instance_, callContext, dataPath.c_str());
    }
    // The calls as "callback:text", e.g. "GetParameterValue:port".
    std::vector<std::string> Summary() const { return host.Summary(); }

    RecordingHost host;

private:
    PluginEntryPoints& plugin_;
    void* instance_;
};

}  // namespace iwv::test
