#pragma once

// The built IWVestra.dll as a host sees it: loaded with LoadLibraryA, entry
// points looked up by name and by ordinal and called through pointers typed
// as the public header declares them. The test programs link none of the
// library's code.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "IWVestra.h"

#include "support/RecordingHost.h"
#include "support/WindowsPath.h"

namespace iwv::test {

// An entry point looked up by its name, typed as the public header declares it.
#define IWV_ENTRY(name) Entry<decltype(&name)>(#name)

struct Export {
    std::string name;
    int ordinal;
};

// The entry points the public header declares, as the build read them from it.
inline std::vector<Export> HeaderExports() {
    std::vector<Export> exports;
    std::ifstream list(WindowsPath(IWV_EXPORTS_LIST));
    Export entry;
    while (list >> entry.ordinal >> entry.name) exports.push_back(entry);
    return exports;
}

inline const std::string kTransactionStatus = "\nTransakcja w toku ...";
inline const std::string kExportStartFailure = "B\xB3\xB9" "d uruchomienia driver'a (dlookup.exe).";
inline const std::string kImportStartFailure = "B\xB3\xB9" "d uruchomienia driver'a (232_read.exe).";

inline const std::string& DllPath() {
    static const std::string path = WindowsPath(IWV_DLL_PATH);
    return path;
}

inline void* Address(FARPROC function) { return reinterpret_cast<void*>(function); }

template <typename Function>
inline void* Address(Function function) {
    return reinterpret_cast<void*>(function);
}

inline bool OnSearchPath(const char* program) {
    char found[MAX_PATH];
    return ::SearchPathA(nullptr, program, nullptr, MAX_PATH, found, nullptr) != 0;
}

inline void WriteFile(const std::string& path, const std::string& contents) {
    std::ofstream(path, std::ios::binary) << contents;
}

inline bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// <temp>\<unique>\host\data: the host's data files lie in data, so the work
// directory the library derives from them is host.
class HostDirectories {
public:
    HostDirectories() {
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        root_ = std::string(temp) + "iwvestra-abi-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(::GetTickCount());
        ::CreateDirectoryA(root_.c_str(), nullptr);
        ::CreateDirectoryA(Work().c_str(), nullptr);
        ::CreateDirectoryA(Data().c_str(), nullptr);
    }
    ~HostDirectories() {
        for (const char* name : {"goods.txt", "count.txt"}) ::DeleteFileA((Data() + "\\" + name).c_str());
        for (const char* name : {"inwout.txt", "inwin.txt"}) ::DeleteFileA((Work() + "\\" + name).c_str());
        ::RemoveDirectoryA(Data().c_str());
        ::RemoveDirectoryA(Work().c_str());
        ::RemoveDirectoryA(root_.c_str());
    }
    HostDirectories(const HostDirectories&) = delete;
    HostDirectories& operator=(const HostDirectories&) = delete;

    std::string Work() const { return root_ + "\\host"; }
    std::string Data() const { return Work() + "\\data"; }

private:
    std::string root_;
};

class IwvestraDll : public testing::Test {
protected:
    void SetUp() override {
        module_ = ::LoadLibraryA(DllPath().c_str());
        ASSERT_NE(module_, nullptr) << "cannot load " << DllPath() << ", error " << ::GetLastError();
        // An operation must fail to start its driver here, so that it ends
        // with ReportError and a result instead of talking to a terminal.
        ASSERT_FALSE(OnSearchPath("dlookup.exe")) << "a dlookup.exe lies on the search path";
        ASSERT_FALSE(OnSearchPath("232_read.exe")) << "a 232_read.exe lies on the search path";
    }
    void TearDown() override {
        if (module_ != nullptr) ::FreeLibrary(module_);
    }

    FARPROC Raw(const char* name) const { return ::GetProcAddress(module_, name); }

    template <typename Function>
    Function Entry(const char* name) const {
        const FARPROC raw = Raw(name);
        EXPECT_NE(raw, nullptr) << name;
        return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(raw));
    }

    // A new instance for host with all three callbacks registered.
    IWVestraInstance* RegisterHost(RecordingHost& host) const {
        IWVestraInstance* instance = IWV_ENTRY(HSTDLLRejestrujBiblioteke)(host.Context(), 0, 0, 0);
        const auto registerCallback = IWV_ENTRY(HSTDLLRejestrujCallback);
        registerCallback(instance, Address(&RecordingHost::ShowStatus), 2);
        registerCallback(instance, Address(&RecordingHost::GetParameterValue), 6);
        registerCallback(instance, Address(&RecordingHost::ReportError), 7);
        return instance;
    }

    HMODULE module_ = nullptr;
};

}  // namespace iwv::test
