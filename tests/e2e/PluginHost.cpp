#include "PluginHost.h"

#include <cstring>
#include <mutex>

namespace iwv::test {
namespace {

// Host contexts are small numbers, so the callbacks find their host here. The
// hosts of one test process register and unregister under the lock.
std::mutex registryLock;
std::map<std::uint32_t, RecordingHost*>& Registry() {
    static std::map<std::uint32_t, RecordingHost*> hosts;
    return hosts;
}

}  // namespace

RecordingHost::RecordingHost(const host::PluginLibrary& plugin, std::uint32_t hostContext,
                             std::map<std::string, std::string> values)
    : plugin_(plugin), hostContext_(hostContext), values_(std::move(values)) {
    {
        std::lock_guard<std::mutex> lock(registryLock);
        Registry()[hostContext_] = this;
    }
    const host::PluginExports& api = plugin_.Exports();
    instance_ = api.rejestrujBiblioteke(hostContext_, 0, 0, 0);
    api.rejestrujCallback(instance_, reinterpret_cast<void*>(&ShowStatus), 2);
    api.rejestrujCallback(instance_, reinterpret_cast<void*>(&GetParameterValue), 6);
    api.rejestrujCallback(instance_, reinterpret_cast<void*>(&ReportError), 7);
}

RecordingHost::~RecordingHost() {
    plugin_.Exports().zwolnijBiblioteke(instance_);
    std::lock_guard<std::mutex> lock(registryLock);
    Registry().erase(hostContext_);
}

host::GuardedResult RecordingHost::Export(const std::string& dataPath, std::uint32_t callContext) {
    return Export(dataPath.c_str(), callContext);
}

host::GuardedResult RecordingHost::Export(const char* dataPath, std::uint32_t callContext) {
    return Run(plugin_.Exports().inwEksportujTowary, dataPath, callContext);
}

host::GuardedResult RecordingHost::Import(const std::string& dataPath, std::uint32_t callContext) {
    return Run(plugin_.Exports().inwImport, dataPath.c_str(), callContext);
}

host::GuardedResult RecordingHost::Run(host::PluginExports::Operation operation, const char* dataPath,
                                       std::uint32_t callContext) {
    return host::CallOperation(operation, instance_, callContext, dataPath);
}

std::vector<std::string> RecordingHost::CallSummary() const {
    std::vector<std::string> summary;
    for (const CallbackCall& call : calls_) summary.push_back(call.kind + ":" + call.text);
    return summary;
}

RecordingHost& RecordingHost::Self(std::uint32_t hostContext) {
    std::lock_guard<std::mutex> lock(registryLock);
    return *Registry().at(hostContext);
}

std::int32_t __stdcall RecordingHost::ShowStatus(std::uint32_t hostContext, std::uint32_t callContext,
                                                 const char* text) {
    Self(hostContext).calls_.push_back({"status", text, hostContext, callContext});
    return 0;
}

std::int32_t __stdcall RecordingHost::GetParameterValue(std::uint32_t hostContext, std::uint32_t callContext,
                                                        const char* key, char* value) {
    RecordingHost& self = Self(hostContext);
    self.calls_.push_back({"parameter", key, hostContext, callContext});
    const auto found = self.values_.find(key);
    const std::string text = found == self.values_.end() ? std::string() : found->second;
    std::memcpy(value, text.c_str(), text.size() + 1);
    return 1;
}

std::int32_t __stdcall RecordingHost::ReportError(std::uint32_t hostContext, std::uint32_t callContext,
                                                  const char* text) {
    Self(hostContext).calls_.push_back({"error", text, hostContext, callContext});
    return 0;
}

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

}  // namespace iwv::test
