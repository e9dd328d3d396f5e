#pragma once

// The one host of the tests: it records every callback call the library makes
// and answers GetParameterValue from a table. Its address is the HostContext
// it registers with, so each callback finds its own host, as a real host
// finds its own state. Native tests put its callbacks on a LibraryInstance
// (HostInstance.h); Windows tests register them through the DLL.

#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "IWVestra.h"

namespace iwv::test {

// One call the library made to a host callback.
struct HostCall {
    std::string callback;  // "ShowStatus", "GetParameterValue" or "ReportError"
    IWV_WORD hostContext;
    IWV_WORD callContext;
    std::string text;  // the status, the key asked for or the error
};

class RecordingHost {
public:
    // The value written for a key; other keys get the empty text.
    std::map<std::string, std::string> answers;
    // A careless host: writes nothing at all for a key without an answer.
    bool silentForOtherKeys = false;
    // False: answers are written without their NUL.
    bool writesNul = true;
    std::vector<HostCall> calls;

    IWV_WORD Context() const { return reinterpret_cast<IWV_WORD>(this); }

    // The texts of every call of one callback, in order.
    std::vector<std::string> Texts(std::string_view callback) const {
        std::vector<std::string> texts;
        for (const HostCall& call : calls)
            if (call.callback == callback) texts.push_back(call.text);
        return texts;
    }
    std::vector<std::string> KeysAsked() const { return Texts("GetParameterValue"); }
    // "Callback:text" for every call, in order.
    std::vector<std::string> Summary() const {
        std::vector<std::string> summary;
        for (const HostCall& call : calls) summary.push_back(call.callback + ":" + call.text);
        return summary;
    }

    static int IWV_CALL ShowStatus(IWV_WORD host, IWV_WORD call, const char* text) {
        Record(host, {"ShowStatus", host, call, text});
        return 0;
    }
    static int IWV_CALL ReportError(IWV_WORD host, IWV_WORD call, const char* text) {
        Record(host, {"ReportError", host, call, text});
        return 0;
    }
    static int IWV_CALL GetParameterValue(IWV_WORD host, IWV_WORD call, const char* key, char* value) {
        auto& self = Record(host, {"GetParameterValue", host, call, key});
        const auto answer = self.answers.find(key);
        if (answer == self.answers.end() && self.silentForOtherKeys) return 0;
        const std::string text = answer == self.answers.end() ? std::string() : answer->second;
        std::memcpy(value, text.data(), text.size());
        if (self.writesNul) value[text.size()] = '\0';
        return 0;
    }

private:
    static RecordingHost& Record(IWV_WORD host, HostCall call) {
        auto& self = *reinterpret_cast<RecordingHost*>(host);
        self.calls.push_back(std::move(call));
        return self;
    }
};

}  // namespace iwv::test
