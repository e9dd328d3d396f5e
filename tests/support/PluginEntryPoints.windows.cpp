#include "support/PluginEntryPoints.h"

#include <windows.h>

#include <stdexcept>

#include "LibraryErrorGuard.h"
#include "PluginLibrary.h"
#include "support/WindowsPath.h"

namespace iwv::test {
namespace {

// The call being made on this thread, for Witness. A vectored handler takes
// no argument of its own, and each thread makes its own calls.
thread_local OperationResult* tCall = nullptr;

// Sees every exception raised during a call before any frame's handler does,
// with the record the host's handler then gets, and leaves it to them. The
// last one seen is the one that ended the call.
LONG CALLBACK Witness(EXCEPTION_POINTERS* exception) {
    if (tCall) {
        tCall->exceptionCode = exception->ExceptionRecord->ExceptionCode;
        tCall->exceptionFlags = exception->ExceptionRecord->ExceptionFlags;
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

OperationResult Call(host::PluginExports::Operation operation, void* instance, HostWord callContext,
                     const char* dataPath) {
    OperationResult result;
    tCall = &result;
    void* witness = ::AddVectoredExceptionHandler(1, &Witness);
    const host::GuardedResult guarded =
        host::CallOperation(operation, static_cast<IWVestraInstance*>(instance), callContext, dataPath);
    ::RemoveVectoredExceptionHandler(witness);
    tCall = nullptr;
    result.raised = guarded.raised;
    result.value = guarded.value;
    result.message = guarded.message;
    return result;
}

}  // namespace

struct PluginEntryPoints::Library {
    host::PluginLibrary plugin;
};

PluginEntryPoints::PluginEntryPoints() : library_(std::make_unique<Library>()) {
    std::string error;
    if (!library_->plugin.Load(WindowsPath(IWV_DLL_PATH), error)) throw std::runtime_error(error);
}

PluginEntryPoints::~PluginEntryPoints() = default;

void* PluginEntryPoints::Register(HostWord hostContext) {
    return library_->plugin.Exports().rejestrujBiblioteke(hostContext, 0, 0, 0);
}

void PluginEntryPoints::RegisterCallback(void* instance, void* function, std::int32_t kind) {
    library_->plugin.Exports().rejestrujCallback(static_cast<IWVestraInstance*>(instance), function, kind);
}

void PluginEntryPoints::Free(void* instance) { library_->plugin.Exports().zwolnijBiblioteke(static_cast<IWVestraInstance*>(instance)); }

OperationResult PluginEntryPoints::Export(void* instance, HostWord callContext, const char* dataPath) {
    return Call(library_->plugin.Exports().inwEksportujTowary, instance, callContext, dataPath);
}

OperationResult PluginEntryPoints::Import(void* instance, HostWord callContext, const char* dataPath) {
    return Call(library_->plugin.Exports().inwImport, instance, callContext, dataPath);
}

testing::AssertionResult IsLibraryError(const OperationResult& result, const std::string& message) {
    if (!result.raised) return testing::AssertionFailure() << "no library error; result " << result.value;
    if (result.exceptionCode != IWV_LIBRARY_ERROR)
        return testing::AssertionFailure() << "exception code 0x" << std::hex << result.exceptionCode;
    if (!(result.exceptionFlags & EXCEPTION_NONCONTINUABLE))
        return testing::AssertionFailure() << "continuable: flags 0x" << std::hex << result.exceptionFlags;
    if (result.message != message) return testing::AssertionFailure() << "message \"" << result.message << '"';
    return testing::AssertionSuccess();
}

}  // namespace iwv::test
