#include "HostSession.h"

#include <cstring>

#include "Console.h"
#include "LibraryErrorGuard.h"

namespace iwv::host {
namespace {

// The plug-in's value buffer holds the text and its NUL.
constexpr std::size_t kValueRoom = IWV_VALUE_BUFFER_SIZE - 1;

}  // namespace

HostSession::HostSession(const PluginLibrary& plugin, std::map<std::string, std::string> values)
    : plugin_(plugin), values_(std::move(values)) {
    const PluginExports& api = plugin_.Exports();
    instance_ = api.rejestrujBiblioteke(reinterpret_cast<IWV_WORD>(this), 0, 0, 0);
    api.rejestrujCallback(instance_, reinterpret_cast<void*>(&ShowStatus), IWV_CALLBACK_SHOW_STATUS);
    api.rejestrujCallback(instance_, reinterpret_cast<void*>(&GetParameterValue), IWV_CALLBACK_GET_PARAMETER_VALUE);
    api.rejestrujCallback(instance_, reinterpret_cast<void*>(&ReportError), IWV_CALLBACK_REPORT_ERROR);
}

HostSession::~HostSession() { plugin_.Exports().zwolnijBiblioteke(instance_); }

std::int32_t HostSession::Run(PluginExports::Operation operation, const std::string& dataPath, bool& raised,
                              std::string& message) {
    // Each call gets its own context, so a callback carrying a stale one shows.
    callContext_ = 0x1000 + ++calls_;
    const GuardedResult result = CallOperation(operation, instance_, callContext_, dataPath.c_str());
    callContext_ = 0;
    raised = result.raised;
    message = result.message;
    return result.value;
}

HostSession& HostSession::From(IWV_WORD hostContext, IWV_WORD callContext) {
    auto& session = *reinterpret_cast<HostSession*>(static_cast<std::uintptr_t>(hostContext));
    if (callContext != session.callContext_)
        PrintError("[host] a callback came with CallContext " + std::to_string(callContext) + ", expected " +
                   std::to_string(session.callContext_) + "\n");
    return session;
}

int IWV_CALL HostSession::ShowStatus(IWV_WORD hostContext, IWV_WORD callContext,
                                               const char* text) {
    From(hostContext, callContext);
    PrintCp1250(std::string("[ShowStatus] ") + text + "\n");
    return 0;
}

int IWV_CALL HostSession::GetParameterValue(IWV_WORD hostContext, IWV_WORD callContext,
                                                      const char* key, char* value) {
    HostSession& session = From(hostContext, callContext);
    const auto found = session.values_.find(key);
    const std::string text = found == session.values_.end() ? std::string() : found->second;
    const std::size_t length = text.size() < kValueRoom ? text.size() : kValueRoom;
    std::memcpy(value, text.data(), length);
    value[length] = '\0';
    PrintCp1250(std::string("[GetParameterValue] ") + key + " = " + text.substr(0, length) + "\n");
    return 1;
}

int IWV_CALL HostSession::ReportError(IWV_WORD hostContext, IWV_WORD callContext,
                                                const char* text) {
    From(hostContext, callContext);
    PrintCp1250(std::string("[ReportError] ") + text + "\n");
    return 0;
}

}  // namespace iwv::host
