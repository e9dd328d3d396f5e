#pragma once

#include <cstdint>

#include "plugin/LibraryInstance.h"

// The library's exported entry points, as the host calls them: plain names,
// the callee removes its arguments, every argument and result one 32-bit word
// in the Windows build. Each only converts at the boundary and hands on to the
// library's C++ code.
extern "C" {

// The kind of library the host is loading: an inventory device.
std::int32_t IWV_STDCALL HSTDLLTypBiblioteki();

// A new instance owned by the host, or null when no memory is left. Only the
// first word is kept, as the instance's HostContext.
iwv::LibraryInstance* IWV_STDCALL HSTDLLRejestrujBiblioteke(iwv::HostWord hostContext, iwv::HostWord,
                                                           iwv::HostWord, iwv::HostWord);

// Frees an instance from HSTDLLRejestrujBiblioteke; null is ignored.
void IWV_STDCALL HSTDLLZwolnijBiblioteke(iwv::LibraryInstance* instance);

void IWV_STDCALL HSTDLLRejestrujCallback(iwv::LibraryInstance* instance, void* function, std::int32_t kind);

std::int32_t IWV_STDCALL HSTDLLParametr(std::int32_t group, std::uint32_t index, char* key, char* caption,
                                        char* defaultValue, char* fourth, char* fifth, iwv::HostWord);

std::int32_t IWV_STDCALL HSTDLLTekstListyParametru(const char* key, std::uint32_t index, char* buffer);

char* IWV_STDCALL HSTDLLWlasciwosci(char* buffer, std::int32_t code);

std::int32_t IWV_STDCALL HSTDLLInwEksportujTowary(iwv::LibraryInstance* instance, iwv::HostWord callContext,
                                                  const char* dataPath);

// Clearing the count needs nothing from the library: it only gives the
// terminal a moment and reports success.
std::int32_t IWV_STDCALL HSTDLLInwZeruj(iwv::HostWord, iwv::HostWord);

std::int32_t IWV_STDCALL HSTDLLInwImport(iwv::LibraryInstance* instance, iwv::HostWord callContext,
                                         const char* dataPath);

}  // extern "C"
