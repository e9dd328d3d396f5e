#include "support/PluginEntryPoints.h"

#include <stdexcept>

#include "LibraryErrorGuard.h"
#include "PluginLibrary.h"
#include "support/WindowsPath.h"

namespace iwv::test {
namespace {

OperationResult Call(host::PluginExports::Operation operation, void* instance, HostWord callContext,
                     const char* dataPath) {
    const host::GuardedResult guarded =
        host::CallOperation(operation, static_cast<IWVestraInstance*>(instance), callContext, dataPath);
    return OperationResult{guarded.raised, guarded.value, guarded.message};
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

}  // namespace iwv::test
