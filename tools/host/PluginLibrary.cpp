#include "PluginLibrary.h"

#include "LibraryErrorGuard.h"

namespace iwv::host {
namespace {

// Room for any text the plug-in writes; it never learns a buffer's size.
constexpr std::size_t kBufferSize = 512;

template <typename Function>
bool Resolve(HMODULE module, const char* name, Function& function, std::string& error) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    if (!function) error = std::string("the library has no entry point ") + name;
    return function != nullptr;
}

struct OperationCall {
    PluginExports::Operation operation;
    IWVestraInstance* instance;
    IWV_WORD callContext;
    const char* dataPath;
};

std::int32_t CallWith(void* argument) {
    const auto* call = static_cast<const OperationCall*>(argument);
    return call->operation(call->instance, call->callContext, call->dataPath);
}

}  // namespace

GuardedResult CallOperation(PluginExports::Operation operation, IWVestraInstance* instance, IWV_WORD callContext,
                            const char* dataPath) {
    OperationCall call{operation, instance, callContext, dataPath};
    return CallGuarded(&CallWith, &call);
}

bool PluginLibrary::Load(const std::string& path, std::string& error) {
    module_ = ::LoadLibraryA(path.c_str());
    if (!module_) {
        error = "cannot load " + path + " (error " + std::to_string(::GetLastError()) + ")";
        return false;
    }
    return Resolve(module_, "HSTDLLTypBiblioteki", exports_.typBiblioteki, error) &&
           Resolve(module_, "HSTDLLRejestrujBiblioteke", exports_.rejestrujBiblioteke, error) &&
           Resolve(module_, "HSTDLLZwolnijBiblioteke", exports_.zwolnijBiblioteke, error) &&
           Resolve(module_, "HSTDLLRejestrujCallback", exports_.rejestrujCallback, error) &&
           Resolve(module_, "HSTDLLParametr", exports_.parametr, error) &&
           Resolve(module_, "HSTDLLTekstListyParametru", exports_.tekstListyParametru, error) &&
           Resolve(module_, "HSTDLLWlasciwosci", exports_.wlasciwosci, error) &&
           Resolve(module_, "HSTDLLInwEksportujTowary", exports_.inwEksportujTowary, error) &&
           Resolve(module_, "HSTDLLInwZeruj", exports_.inwZeruj, error) &&
           Resolve(module_, "HSTDLLInwImport", exports_.inwImport, error);
}

PluginLibrary::~PluginLibrary() {
    if (module_) ::FreeLibrary(module_);
}

std::vector<PluginParameter> PluginLibrary::Parameters() const {
    std::vector<PluginParameter> parameters;
    for (unsigned index = 0;; ++index) {
        char key[kBufferSize] = {}, caption[kBufferSize] = {}, defaultValue[kBufferSize] = {};
        char fourth[kBufferSize] = {}, fifth[kBufferSize] = {};
        if (exports_.parametr(IWV_PARAMETER_GROUP, index, key, caption, defaultValue, fourth, fifth, 0) == 0) break;
        PluginParameter parameter{key, caption, defaultValue, {}};
        char value[kBufferSize];
        for (unsigned entry = 0; exports_.tekstListyParametru(key, entry, value) != 0; ++entry)
            parameter.values.emplace_back(value);
        parameters.push_back(std::move(parameter));
    }
    return parameters;
}

std::string PluginLibrary::Property(std::int32_t code) const {
    char buffer[kBufferSize] = {};
    return exports_.wlasciwosci(buffer, code);
}

}  // namespace iwv::host
