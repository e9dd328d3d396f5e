#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "IWVestra.h"

namespace iwv::host {

// The plug-in's ten entry points as a host sees them: loaded with LoadLibrary
// and found with GetProcAddress, never linked, through the pointer types
// IWVestra.h gives a host for that.
struct PluginExports {
    using TypBiblioteki = IWV_PFN_HSTDLLTypBiblioteki;
    using RejestrujBiblioteke = IWV_PFN_HSTDLLRejestrujBiblioteke;
    using ZwolnijBiblioteke = IWV_PFN_HSTDLLZwolnijBiblioteke;
    using RejestrujCallback = IWV_PFN_HSTDLLRejestrujCallback;
    using Parametr = IWV_PFN_HSTDLLParametr;
    using TekstListyParametru = IWV_PFN_HSTDLLTekstListyParametru;
    using Wlasciwosci = IWV_PFN_HSTDLLWlasciwosci;
    using Operation = IWV_PFN_HSTDLLInwImport;
    using InwZeruj = IWV_PFN_HSTDLLInwZeruj;

    TypBiblioteki typBiblioteki = nullptr;
    RejestrujBiblioteke rejestrujBiblioteke = nullptr;
    ZwolnijBiblioteke zwolnijBiblioteke = nullptr;
    RejestrujCallback rejestrujCallback = nullptr;
    Parametr parametr = nullptr;
    TekstListyParametru tekstListyParametru = nullptr;
    Wlasciwosci wlasciwosci = nullptr;
    Operation inwEksportujTowary = nullptr;
    InwZeruj inwZeruj = nullptr;
    Operation inwImport = nullptr;
};

struct GuardedResult;

// Calls an export or import entry point and catches the library error that
// may end it instead of a result (see LibraryErrorGuard.h).
GuardedResult CallOperation(PluginExports::Operation operation, IWVestraInstance* instance, IWV_WORD callContext,
                            const char* dataPath);

// One parameter of the plug-in's catalogue, read through its entry points.
struct PluginParameter {
    std::string key;
    std::string caption;       // Windows-1250
    std::string defaultValue;  // Windows-1250
    std::vector<std::string> values;
};

// The loaded plug-in; unloaded when destroyed.
class PluginLibrary {
public:
    // Loads the DLL and resolves every entry point; error says why not.
    bool Load(const std::string& path, std::string& error);
    ~PluginLibrary();

    const PluginExports& Exports() const { return exports_; }
    // The whole parameter catalogue, in the plug-in's order.
    std::vector<PluginParameter> Parameters() const;
    // The text of a property code.
    std::string Property(std::int32_t code) const;

private:
    HMODULE module_ = nullptr;
    PluginExports exports_;
};

}  // namespace iwv::host
