#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace iwv::test {

// One call the library made to a host callback.
struct HostCall {
    std::string callback;
    std::uintptr_t hostContext;
    std::uintptr_t callContext;
    std::string text;
};

// A host that records every callback call. Its address is the HostContext it
// registers with, so that each callback finds its own host, as a real host
// finds its own state.
class RecordingHost {
public:
    // The value written for a key; a key without an answer gets nothing
    // written, like a careless host.
    std::map<std::string, std::string> answers;
    // False: answers are written without their NUL.
    bool writesNul = true;
    std::vector<HostCall> calls;

    std::uintptr_t Context() const { return reinterpret_cast<std::uintptr_t>(this); }

    static std::int32_t IWV_STDCALL ShowStatus(std::uintptr_t host, std::uintptr_t call, const char* text) {
        Record(host, {"ShowStatus", host, call, text});
        return 0;
    }
    static std::int32_t IWV_STDCALL ReportError(std::uintptr_t host, std::uintptr_t call, const char* text) {
        Record(host, {"ReportError", host, call, text});
        return 0;
    }
    static std::int32_t IWV_STDCALL GetParameterValue(std::uintptr_t host, std::uintptr_t call, const char* key,
                                                      char* value) {
        auto& self = Record(host, {"GetParameterValue", host, call, key});
        const auto answer = self.answers.find(key);
        if (answer != self.answers.end()) {
            std::memcpy(value, answer->second.data(), answer->second.size());
            if (self.writesNul) value[answer->second.size()] = '\0';
        }
        return 0;
    }

private:
    static RecordingHost& Record(std::uintptr_t host, HostCall call) {
        auto& self = *reinterpret_cast<RecordingHost*>(host);
        self.calls.push_back(std::move(call));
        return self;
    }
};

}  // namespace iwv::test
