#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "PluginLibrary.h"

namespace iwv::host {

// What a host keeps for one plug-in instance: the operator's parameter values
// and the callbacks through which the plug-in reads them and talks to the
// operator. Every callback call is printed, so an integrator sees exactly what
// the plug-in asked and said.
class HostSession {
public:
    HostSession(const PluginLibrary& plugin, std::map<std::string, std::string> values);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Runs an export or import with a fresh CallContext; raised is set when the
    // plug-in ended the call with its structured exception.
    std::int32_t Run(PluginExports::Operation operation, const std::string& dataPath, bool& raised,
                     std::string& message);

private:
    static int IWV_CALL ShowStatus(IWV_WORD hostContext, IWV_WORD callContext, const char* text);
    static int IWV_CALL GetParameterValue(IWV_WORD hostContext, IWV_WORD callContext,
                                                    const char* key, char* value);
    static int IWV_CALL ReportError(IWV_WORD hostContext, IWV_WORD callContext, const char* text);
    static HostSession& From(IWV_WORD hostContext, IWV_WORD callContext);

    const PluginLibrary& plugin_;
    std::map<std::string, std::string> values_;
    IWVestraInstance* instance_ = nullptr;
    std::uint32_t calls_ = 0;
    IWV_WORD callContext_ = 0;  // of the running call; 0 between calls
};

}  // namespace iwv::host
