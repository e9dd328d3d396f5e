// The built IWVestra.dll as a host sees it: loaded with LoadLibraryA, entry
// points looked up by name and by ordinal and called through stdcall
// pointers. The test program links none of the library's code.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "IWVestra.h"

#include "plugin/ExpectedTexts.h"
#include "plugin/HostBuffer.h"
#include "plugin/LibraryVersion.h"
#include "support/RecordingHost.h"
#include "support/WindowsPath.h"
#include "plugin/StackCheckedCall.windows.h"

namespace {

using iwv::test::CallChecked;
using iwv::test::HostBuffer;
using iwv::test::RecordingHost;
using iwv::test::WindowsPath;
using Word = std::uint32_t;

// The entry points' types are those the public header declares.
using RejestrujBiblioteke = decltype(&HSTDLLRejestrujBiblioteke);
using ZwolnijBiblioteke = decltype(&HSTDLLZwolnijBiblioteke);
using RejestrujCallback = decltype(&HSTDLLRejestrujCallback);
using Parametr = decltype(&HSTDLLParametr);
using TekstListyParametru = decltype(&HSTDLLTekstListyParametru);
using Wlasciwosci = decltype(&HSTDLLWlasciwosci);
using Operation = decltype(&HSTDLLInwImport);

struct Export {
    std::string name;
    int ordinal;
};

// The entry points the public header declares, as the build read them from it.
std::vector<Export> HeaderExports() {
    std::vector<Export> exports;
    std::ifstream list(WindowsPath(IWV_EXPORTS_LIST));
    Export entry;
    while (list >> entry.ordinal >> entry.name) exports.push_back(entry);
    return exports;
}

const std::string kTransactionStatus = "\nTransakcja w toku ...";
const std::string kExportStartFailure = "B\xB3\xB9" "d uruchomienia driver'a (dlookup.exe).";
const std::string kImportStartFailure = "B\xB3\xB9" "d uruchomienia driver'a (232_read.exe).";

const std::string& DllPath() {
    static const std::string path = WindowsPath(IWV_DLL_PATH);
    return path;
}

void* Address(FARPROC function) { return reinterpret_cast<void*>(function); }

template <typename Function>
void* Address(Function function) {
    return reinterpret_cast<void*>(function);
}

bool OnSearchPath(const char* program) {
    char found[MAX_PATH];
    return ::SearchPathA(nullptr, program, nullptr, MAX_PATH, found, nullptr) != 0;
}

void WriteFile(const std::string& path, const std::string& contents) {
    std::ofstream(path, std::ios::binary) << contents;
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadFile(const std::string& path) {
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
        IWVestraInstance* instance = Entry<RejestrujBiblioteke>("HSTDLLRejestrujBiblioteke")(host.Context(), 0, 0, 0);
        const auto registerCallback = Entry<RejestrujCallback>("HSTDLLRejestrujCallback");
        registerCallback(instance, Address(&RecordingHost::ShowStatus), 2);
        registerCallback(instance, Address(&RecordingHost::GetParameterValue), 6);
        registerCallback(instance, Address(&RecordingHost::ReportError), 7);
        return instance;
    }

    HMODULE module_ = nullptr;
};

TEST_F(IwvestraDll, ExportsTenEntryPointsByNameAndOrdinal) {
    const std::vector<Export> exports = HeaderExports();
    ASSERT_EQ(exports.size(), 10u);
    for (const auto& entry : exports) {
        SCOPED_TRACE(entry.name);
        const FARPROC byName = Raw(entry.name.c_str());
        const FARPROC byOrdinal = ::GetProcAddress(module_, MAKEINTRESOURCEA(entry.ordinal));
        EXPECT_NE(byName, nullptr);
        EXPECT_EQ(byName, byOrdinal);
    }
    EXPECT_EQ(::GetProcAddress(module_, MAKEINTRESOURCEA(11)), nullptr);
    EXPECT_EQ(Raw("HSTDLLTypBiblioteki@0"), nullptr);
    EXPECT_EQ(Raw("_HSTDLLTypBiblioteki@0"), nullptr);
    EXPECT_EQ(Raw("HSTDLLParametr@32"), nullptr);
}

TEST_F(IwvestraDll, EveryEntryPointRemovesItsOwnArguments) {
    HostDirectories directories;
    const std::string dataPath = directories.Data() + "\\goods.txt";
    WriteFile(dataPath, "");
    RecordingHost host;
    auto call = [&](const char* name, std::initializer_list<Word> arguments) {
        const auto result = CallChecked(Address(Raw(name)), arguments);
        EXPECT_EQ(result.stackDelta, 0) << name << " left the stack unbalanced";
        return result.value;
    };
    auto word = [](const void* pointer) { return static_cast<Word>(reinterpret_cast<std::uintptr_t>(pointer)); };
    std::array<HostBuffer, 5> buffers;

    EXPECT_EQ(call("HSTDLLTypBiblioteki", {}), 3u);
    const Word instance = call("HSTDLLRejestrujBiblioteke", {host.Context(), 1, 2, 3});
    ASSERT_NE(instance, 0u);
    call("HSTDLLRejestrujCallback", {instance, word(Address(&RecordingHost::ShowStatus)), 2});
    call("HSTDLLRejestrujCallback", {instance, word(Address(&RecordingHost::GetParameterValue)), 6});
    call("HSTDLLRejestrujCallback", {instance, word(Address(&RecordingHost::ReportError)), 7});
    EXPECT_EQ(call("HSTDLLParametr", {301, 1, word(buffers[0].data()), word(buffers[1].data()),
                                      word(buffers[2].data()), word(buffers[3].data()), word(buffers[4].data()), 0}),
              2u);
    EXPECT_EQ(call("HSTDLLTekstListyParametru", {word("baud"), 0, word(buffers[0].data())}), 1u);
    EXPECT_EQ(call("HSTDLLWlasciwosci", {word(buffers[0].data()), 302}), word(buffers[0].data()));
    EXPECT_EQ(call("HSTDLLInwZeruj", {0, 0}), 1u);
    EXPECT_EQ(call("HSTDLLInwEksportujTowary", {instance, 5, word(dataPath.c_str())}), 0u);
    EXPECT_EQ(call("HSTDLLInwImport", {instance, 6, word(dataPath.c_str())}), 0u);
    call("HSTDLLZwolnijBiblioteke", {instance});
    EXPECT_EQ(host.calls.size(), 12u) << "both operations reached the host's callbacks";
}

TEST_F(IwvestraDll, CatalogueTextsAreByteExact) {
    const auto describe = Entry<Parametr>("HSTDLLParametr");
    const auto listEntry = Entry<TekstListyParametru>("HSTDLLTekstListyParametru");
    const auto& parameters = iwv::expected::Parameters();
    for (std::uint32_t index = 0; index < parameters.size(); ++index) {
        const auto& parameter = parameters[index];
        SCOPED_TRACE(parameter.key);
        std::array<HostBuffer, 5> out;
        EXPECT_EQ(describe(301, index, out[0].data(), out[1].data(), out[2].data(), out[3].data(), out[4].data(), 0),
                  2);
        EXPECT_EQ(out[0].Text(), parameter.key);
        EXPECT_EQ(out[1].Text(), parameter.caption);
        EXPECT_EQ(out[2].Text(), parameter.defaultValue);
        EXPECT_EQ(out[3].Text(), "");
        EXPECT_EQ(out[4].Text(), "");
        for (std::uint32_t entry = 0; entry < parameter.values.size(); ++entry) {
            HostBuffer value;
            EXPECT_EQ(listEntry(parameter.key.c_str(), entry, value.data()), 1);
            EXPECT_EQ(value.Text(), parameter.values[entry]);
        }
        HostBuffer past;
        EXPECT_EQ(listEntry(parameter.key.c_str(), static_cast<std::uint32_t>(parameter.values.size()), past.data()),
                  0);
        EXPECT_TRUE(past.Untouched());
    }
    for (const auto group_index : {std::array<std::uint32_t, 2>{300, 0}, {302, 0}, {301, 5}, {301, 0xFFFFFFFF}}) {
        std::array<HostBuffer, 5> out;
        EXPECT_EQ(describe(static_cast<std::int32_t>(group_index[0]), group_index[1], out[0].data(), out[1].data(),
                           out[2].data(), out[3].data(), out[4].data(), 0),
                  0);
        for (const auto& buffer : out) EXPECT_TRUE(buffer.Untouched());
    }
    HostBuffer value;
    EXPECT_EQ(listEntry("Port", 0, value.data()), 0);
    EXPECT_TRUE(value.Untouched());
}

TEST_F(IwvestraDll, PropertyTextsAreByteExactAndReturnTheBuffer) {
    const auto property = Entry<Wlasciwosci>("HSTDLLWlasciwosci");
    for (const auto& expected : iwv::expected::Properties()) {
        SCOPED_TRACE(expected.code);
        HostBuffer buffer;
        EXPECT_EQ(property(buffer.data(), expected.code), buffer.data());
        EXPECT_EQ(buffer.Text(), expected.text);
        EXPECT_TRUE(buffer.UntouchedAfterText());
    }
}

TEST_F(IwvestraDll, OperationsCallOnlyTheirOwnInstancesHost) {
    HostDirectories directories;
    const std::string goodsPath = directories.Data() + "\\goods.txt";
    const std::string countPath = directories.Data() + "\\count.txt";
    const std::string staleTerminalData = directories.Work() + "\\inwin.txt";
    WriteFile(goodsPath, "");
    WriteFile(countPath, "INW;1;1000\r\n");
    WriteFile(staleTerminalData, "stale");

    RecordingHost exporter;
    RecordingHost importer;
    for (RecordingHost* host : {&exporter, &importer}) {
        host->answers = {{"port", "COM2"}, {"baud", "9600"}, {"timeout", "1 min"}, {"dlugosc", "10 liter"},
                         {"cena", "Cena zak"}};
    }
    IWVestraInstance* first = RegisterHost(exporter);
    IWVestraInstance* second = RegisterHost(importer);

    EXPECT_EQ(Entry<Operation>("HSTDLLInwEksportujTowary")(first, 0x1111, goodsPath.c_str()), 0);
    EXPECT_EQ(Entry<Operation>("HSTDLLInwImport")(second, 0x2222, countPath.c_str()), 0);
    const auto release = Entry<ZwolnijBiblioteke>("HSTDLLZwolnijBiblioteke");
    release(first);
    release(second);

    const struct {
        RecordingHost& host;
        Word callContext;
        std::vector<std::pair<std::string, std::string>> calls;
    } expectations[] = {
        {exporter,
         0x1111,
         {{"GetParameterValue", "port"},
          {"GetParameterValue", "baud"},
          {"GetParameterValue", "timeout"},
          {"GetParameterValue", "dlugosc"},
          {"GetParameterValue", "cena"},
          {"ShowStatus", kTransactionStatus},
          {"ReportError", kExportStartFailure}}},
        {importer,
         0x2222,
         {{"GetParameterValue", "port"},
          {"GetParameterValue", "baud"},
          {"GetParameterValue", "timeout"},
          {"ShowStatus", kTransactionStatus},
          {"ReportError", kImportStartFailure}}},
    };
    for (const auto& expected : expectations) {
        SCOPED_TRACE(expected.callContext);
        ASSERT_EQ(expected.host.calls.size(), expected.calls.size());
        for (std::size_t i = 0; i < expected.calls.size(); ++i) {
            const auto& call = expected.host.calls[i];
            EXPECT_EQ(call.callback, expected.calls[i].first);
            EXPECT_EQ(call.text, expected.calls[i].second);
            EXPECT_EQ(call.hostContext, expected.host.Context());
            EXPECT_EQ(call.callContext, expected.callContext);
        }
    }
    // The export wrote its lookup file into the work directory before the
    // driver failed; the import removed the stale terminal data and left the
    // host's count file alone.
    EXPECT_TRUE(FileExists(directories.Work() + "\\inwout.txt"));
    EXPECT_FALSE(FileExists(staleTerminalData));
    EXPECT_EQ(ReadFile(countPath), "INW;1;1000\r\n");
}

TEST_F(IwvestraDll, VersionResourceCarriesTheProjectVersion) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(DllPath().c_str(), &ignored);
    ASSERT_NE(size, 0u);
    std::string info(size, '\0');
    ASSERT_TRUE(::GetFileVersionInfoA(DllPath().c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), IWV_VERSION_MAJOR);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), IWV_VERSION_MINOR);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), IWV_VERSION_PATCH);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

    const struct {
        const char* key;
        const char* value;
    } strings[] = {
        {"ProductName", IWV_PRODUCT_NAME},
        {"FileVersion", IWV_VERSION_TEXT},
        {"ProductVersion", IWV_VERSION_TEXT},
    };
    for (const auto& expected : strings) {
        SCOPED_TRACE(expected.key);
        char* value = nullptr;
        const std::string query = std::string("\\StringFileInfo\\041504E2\\") + expected.key;
        ASSERT_TRUE(::VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length));
        EXPECT_STREQ(value, expected.value);
    }
}

}  // namespace
