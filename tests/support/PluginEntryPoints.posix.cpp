#include "support/PluginEntryPoints.h"

#include "common/Error.h"
#include "IWVestra.h"

namespace iwv::test {
namespace {

using Operation = int(IWV_CALL*)(IWVestraInstance*, IWV_WORD, const char*);

// Natively a library error leaves the entry point as the C++ exception it is.
OperationResult Call(Operation operation, void* instance, HostWord callContext, const char* dataPath) {
    OperationResult result;
    try {
        result.value = operation(static_cast<IWVestraInstance*>(instance), callContext, dataPath);
    } catch (const Error& error) {
        result.raised = true;
        result.message = error.Message();
    }
    return result;
}

}  // namespace

struct PluginEntryPoints::Library {};

PluginEntryPoints::PluginEntryPoints() = default;
PluginEntryPoints::~PluginEntryPoints() = default;

void* PluginEntryPoints::Register(HostWord hostContext) { return HSTDLLRejestrujBiblioteke(hostContext, 0, 0, 0); }

void PluginEntryPoints::RegisterCallback(void* instance, void* function, std::int32_t kind) {
    HSTDLLRejestrujCallback(static_cast<IWVestraInstance*>(instance), function, kind);
}

void PluginEntryPoints::Free(void* instance) { HSTDLLZwolnijBiblioteke(static_cast<IWVestraInstance*>(instance)); }

OperationResult PluginEntryPoints::Export(void* instance, HostWord callContext, const char* dataPath) {
    return Call(&HSTDLLInwEksportujTowary, instance, callContext, dataPath);
}

OperationResult PluginEntryPoints::Import(void* instance, HostWord callContext, const char* dataPath) {
    return Call(&HSTDLLInwImport, instance, callContext, dataPath);
}

testing::AssertionResult IsLibraryError(const OperationResult& result, const std::string& message) {
    if (!result.raised) return testing::AssertionFailure() << "no library error; result " << result.value;
    if (result.message != message) return testing::AssertionFailure() << "message \"" << result.message << '"';
    return testing::AssertionSuccess();
}

}  // namespace iwv::test
