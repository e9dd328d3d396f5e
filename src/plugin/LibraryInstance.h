#pragma once

#include <cstdint>

namespace iwv {

// A 32-bit value of the host's that the library hands back and never reads
// (the instance's HostContext and an operation's CallContext).
using HostWord = std::uintptr_t;

using ShowStatusCallback = std::int32_t(IWV_STDCALL*)(HostWord hostContext, HostWord callContext, const char* text);
using GetParameterValueCallback = std::int32_t(IWV_STDCALL*)(HostWord hostContext, HostWord callContext,
                                                             const char* key, char* value);
using ReportErrorCallback = std::int32_t(IWV_STDCALL*)(HostWord hostContext, HostWord callContext, const char* text);

// The kinds with which the host registers its callbacks.
enum CallbackKind : std::int32_t {
    kShowStatusKind = 2,
    kGetParameterValueKind = 6,
    kReportErrorKind = 7,
};

// One host registration: its three callbacks and its context. The host owns
// it from HSTDLLRejestrujBiblioteke to HSTDLLZwolnijBiblioteke.
struct LibraryInstance {
    ShowStatusCallback ShowStatus = nullptr;
    GetParameterValueCallback GetParameterValue = nullptr;
    ReportErrorCallback ReportError = nullptr;
    HostWord HostContext = 0;
};

// Stores a host function in the field that kind selects; other kinds change
// nothing.
void RegisterCallback(LibraryInstance& instance, void* function, std::int32_t kind);

}  // namespace iwv
