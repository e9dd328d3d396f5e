#pragma once

#include "IWVestra.h"

namespace iwv {

// A value of the host's that the library hands back and never reads (the
// instance's HostContext and an operation's CallContext).
using HostWord = IWV_WORD;

// One host registration: its three callbacks and its context. The host owns
// it from HSTDLLRejestrujBiblioteke to HSTDLLZwolnijBiblioteke.
struct LibraryInstance {
    IWV_ShowStatus ShowStatus = nullptr;
    IWV_GetParameterValue GetParameterValue = nullptr;
    IWV_ReportError ReportError = nullptr;
    HostWord HostContext = 0;
};

// Stores a host function in the field that kind (an IWV_CALLBACK_ kind)
// selects; other kinds change nothing.
void RegisterCallback(LibraryInstance& instance, void* function, int kind);

}  // namespace iwv
