// The library's exported entry points, as declared for hosts in IWVestra.h.
// Each only converts at the boundary (the opaque instance, null arguments from
// careless hosts, errors into structured exceptions) and hands on to the
// library's C++ code.

#include "IWVestra.h"

#include <new>

#include "export/GoodsExport.h"
#include "host/LibraryInstance.h"
#include "import/StockCountImport.h"
#include "platform/Clock.h"
#include "plugin/HostBoundary.h"
#include "plugin/LibraryProperties.h"
#include "plugin/ParameterCatalogue.h"

namespace {

constexpr unsigned kClearPauseMilliseconds = 1000;

iwv::LibraryInstance* Instance(IWVestraInstance* instance) { return reinterpret_cast<iwv::LibraryInstance*>(instance); }

// A null path reads as the empty text, which no file answers to.
const char* PathOrEmpty(const char* path) { return path ? path : ""; }

}  // namespace

extern "C" {

int IWV_CALL HSTDLLTypBiblioteki(void) { return IWV_LIBRARY_TYPE; }

IWVestraInstance* IWV_CALL HSTDLLRejestrujBiblioteke(IWV_WORD hostContext, IWV_WORD, IWV_WORD, IWV_WORD) {
    // No exception may reach the host; a null handle is the host's to check.
    auto* instance = new (std::nothrow) iwv::LibraryInstance;
    if (instance != nullptr) instance->HostContext = hostContext;
    return reinterpret_cast<IWVestraInstance*>(instance);
}

void IWV_CALL HSTDLLZwolnijBiblioteke(IWVestraInstance* instance) { delete Instance(instance); }

void IWV_CALL HSTDLLRejestrujCallback(IWVestraInstance* instance, void* function, int kind) {
    // A host that did not check for a failed registration passes null.
    if (instance != nullptr) iwv::RegisterCallback(*Instance(instance), function, kind);
}

int IWV_CALL HSTDLLParametr(int group, unsigned int index, char* key, char* caption, char* defaultValue, char* fourth,
                            char* fifth, IWV_WORD) {
    return iwv::DescribeParameter(group, index, key, caption, defaultValue, fourth, fifth);
}

int IWV_CALL HSTDLLTekstListyParametru(const char* key, unsigned int index, char* buffer) {
    return iwv::CopyListEntry(key, index, buffer);
}

char* IWV_CALL HSTDLLWlasciwosci(char* buffer, int code) { return iwv::CopyProperty(buffer, code); }

int IWV_CALL HSTDLLInwEksportujTowary(IWVestraInstance* instance, IWV_WORD callContext, const char* dataPath) {
    // Without an instance there is no host to ask or to tell; nothing is done.
    if (instance == nullptr) return 0;
    return iwv::AtHostBoundary([&] {
        return iwv::ExportGoods(*Instance(instance), callContext, PathOrEmpty(dataPath),
                                iwv::OperationServices::System());
    });
}

int IWV_CALL HSTDLLInwZeruj(IWV_WORD, IWV_WORD) {
    iwv::platform::SleepMilliseconds(kClearPauseMilliseconds);
    return 1;
}

int IWV_CALL HSTDLLInwImport(IWVestraInstance* instance, IWV_WORD callContext, const char* dataPath) {
    if (instance == nullptr) return 0;
    return iwv::AtHostBoundary([&] {
        return iwv::ImportStockCount(*Instance(instance), callContext, PathOrEmpty(dataPath),
                                     iwv::OperationServices::System());
    });
}

}  // extern "C"
