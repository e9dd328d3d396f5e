#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "plugin/LibraryInstance.h"

namespace iwv::test {

// A host as the library sees it: callbacks with the host's calling
// convention on a LibraryInstance whose HostContext leads back here. Answers
// GetParameterValue from a table (the empty text for other keys) and keeps
// every call.
class FakeHost {
public:
    FakeHost() {
        instance_.HostContext = reinterpret_cast<HostWord>(this);
        instance_.ShowStatus = &OnShowStatus;
        instance_.GetParameterValue = &OnGetParameterValue;
        instance_.ReportError = &OnReportError;
    }
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    LibraryInstance& Instance() { return instance_; }

    // Written into the value buffer as they are; a NUL inside ends the text.
    std::map<std::string, std::string> answers;
    std::vector<std::string> keysAsked;
    std::vector<std::string> errors;
    std::vector<std::string> statuses;
    std::vector<HostWord> callContexts;

private:
    static FakeHost& From(HostWord hostContext) { return *reinterpret_cast<FakeHost*>(hostContext); }

    static std::int32_t IWV_STDCALL OnShowStatus(HostWord hostContext, HostWord callContext, const char* text) {
        FakeHost& host = From(hostContext);
        host.callContexts.push_back(callContext);
        host.statuses.push_back(text);
        return 1;
    }

    static std::int32_t IWV_STDCALL OnGetParameterValue(HostWord hostContext, HostWord callContext, const char* key,
                                                        char* value) {
        FakeHost& host = From(hostContext);
        host.callContexts.push_back(callContext);
        host.keysAsked.push_back(key);
        const auto answer = host.answers.find(key);
        const std::string text = answer == host.answers.end() ? std::string() : answer->second;
        std::memcpy(value, text.data(), text.size());
        value[text.size()] = '\0';
        return 1;
    }

    static std::int32_t IWV_STDCALL OnReportError(HostWord hostContext, HostWord callContext, const char* text) {
        FakeHost& host = From(hostContext);
        host.callContexts.push_back(callContext);
        host.errors.push_back(text);
        return 1;
    }

    LibraryInstance instance_;
};

}  // namespace iwv::test
