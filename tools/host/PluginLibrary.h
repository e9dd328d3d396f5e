#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace iwv::host {

// The plug-in's ten entry points as a host sees them: loaded with LoadLibrary
// and found with GetProcAddress, never linked.
struct PluginExports {
    using TypBiblioteki = std::int32_t(__stdcall*)();
    using RejestrujBiblioteke = void*(__stdcall*)(std::uint32_t hostContext, std::uint32_t, std::uint32_t,
                                                   std::uint32_t);
    using ZwolnijBiblioteke = void(__stdcall*)(void* instance);
    using RejestrujCallback = void(__stdcall*)(void* instance, void* function, std::int32_t kind);
    using Parametr = std::int32_t(__stdcall*)(std::int32_t group, std::uint32_t index, char* key, char* caption,
                                              char* defaultValue, char* fourth, char* fifth, std::uint32_t);
    using TekstListyParametru = std::int32_t(__stdcall*)(const char* key, std::uint32_t index, char* buffer);
    using Wlasciwosci = char*(__stdcall*)(char* buffer, std::int32_t code);
    using Operation = std::int32_t(__stdcall*)(void* instance, std::uint32_t callContext, const char* dataPath);
    using InwZeruj = std::int32_t(__stdcall*)(std::uint32_t, std::uint32_t);

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
GuardedResult CallOperation(PluginExports::Operation operation, void* instance, std::uint32_t callContext,
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
