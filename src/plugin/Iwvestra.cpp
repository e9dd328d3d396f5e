#include "plugin/Iwvestra.h"

#include <new>

#include "export/GoodsExport.h"
#include "import/StockCountImport.h"
#include "platform/Clock.h"
#include "platform/HostBoundary.h"
#include "plugin/LibraryProperties.h"
#include "plugin/ParameterCatalogue.h"

namespace {

constexpr std::int32_t kInventoryLibraryType = 3;
constexpr unsigned kClearPauseMilliseconds = 1000;

}  // namespace

extern "C" {

std::int32_t IWV_STDCALL HSTDLLTypBiblioteki() { return kInventoryLibraryType; }

iwv::LibraryInstance* IWV_STDCALL HSTDLLRejestrujBiblioteke(iwv::HostWord hostContext, iwv::HostWord,
                                                           iwv::HostWord, iwv::HostWord) {
    // No exception may reach the host; a null handle is the host's to check.
    auto* instance = new (std::nothrow) iwv::LibraryInstance;
    if (instance != nullptr) instance->HostContext = hostContext;
    return instance;
}

void IWV_STDCALL HSTDLLZwolnijBiblioteke(iwv::LibraryInstance* instance) { delete instance; }

void IWV_STDCALL HSTDLLRejestrujCallback(iwv::LibraryInstance* instance, void* function, std::int32_t kind) {
    // A host that did not check for a failed registration passes null.
    if (instance != nullptr) iwv::RegisterCallback(*instance, function, kind);
}

std::int32_t IWV_STDCALL HSTDLLParametr(std::int32_t group, std::uint32_t index, char* key, char* caption,
                                        char* defaultValue, char* fourth, char* fifth, iwv::HostWord) {
    return iwv::DescribeParameter(group, index, key, caption, defaultValue, fourth, fifth);
}

std::int32_t IWV_STDCALL HSTDLLTekstListyParametru(const char* key, std::uint32_t index, char* buffer) {
    return iwv::CopyListEntry(key, index, buffer);
}

char* IWV_STDCALL HSTDLLWlasciwosci(char* buffer, std::int32_t code) { return iwv::CopyProperty(buffer, code); }

std::int32_t IWV_STDCALL HSTDLLInwEksportujTowary(iwv::LibraryInstance* instance, iwv::HostWord callContext,
                                                  const char* dataPath) {
    // Without an instance there is no host to ask or to tell; nothing is done.
    if (instance == nullptr) return 0;
    // A null path reads as the empty text, which no file answers to.
    const char* path = dataPath ? dataPath : "";
    return iwv::platform::AtHostBoundary([&] { return iwv::ExportGoods(*instance, callContext, path); });
}

std::int32_t IWV_STDCALL HSTDLLInwZeruj(iwv::HostWord, iwv::HostWord) {
    iwv::platform::SleepMilliseconds(kClearPauseMilliseconds);
    return 1;
}

std::int32_t IWV_STDCALL HSTDLLInwImport(iwv::LibraryInstance* instance, iwv::HostWord callContext,
                                         const char* dataPath) {
    if (instance == nullptr) return 0;
    const char* path = dataPath ? dataPath : "";
    return iwv::platform::AtHostBoundary([&] { return iwv::ImportStockCount(*instance, callContext, path); });
}

}  // extern "C"
