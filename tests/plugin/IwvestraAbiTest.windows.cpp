// The parts of the host interface that are the same on every architecture:
// the export table, the texts, the instances and callbacks, the version.
#include <array>
#include <new>

#include "plugin/ExpectedTexts.h"
#include "plugin/HostBuffer.h"
#include "plugin/IwvestraDll.windows.h"
#include "common/LibraryVersion.h"

namespace {

using namespace iwv::test;
using Word = IWV_WORD;

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

TEST_F(IwvestraDll, CatalogueTextsAreByteExact) {
    const auto describe = IWV_ENTRY(HSTDLLParametr);
    const auto listEntry = IWV_ENTRY(HSTDLLTekstListyParametru);
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
    const auto property = IWV_ENTRY(HSTDLLWlasciwosci);
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

    EXPECT_EQ(IWV_ENTRY(HSTDLLInwEksportujTowary)(first, 0x1111, goodsPath.c_str()), 0);
    EXPECT_EQ(IWV_ENTRY(HSTDLLInwImport)(second, 0x2222, countPath.c_str()), 0);
    const auto release = IWV_ENTRY(HSTDLLZwolnijBiblioteke);
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

TEST_F(IwvestraDll, HostWordsCrossTheInterfaceWhole) {
    // A host may pass the address of its own state as its context. Placed at
    // the top of the address space, a host's address loses bits on its way
    // back if a word is narrower than a pointer.
    void* top = ::VirtualAlloc(nullptr, sizeof(RecordingHost), MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN, PAGE_READWRITE);
    ASSERT_NE(top, nullptr);
    ASSERT_TRUE(sizeof(void*) == 4 || reinterpret_cast<std::uintptr_t>(top) > 0xFFFFFFFFull)
        << "a 64-bit host's address below 4 GiB would prove nothing";
    RecordingHost* host = new (top) RecordingHost;
    HostDirectories directories;
    const std::string goodsPath = directories.Data() + "\\goods.txt";
    WriteFile(goodsPath, "");
    const auto callContext = static_cast<Word>(0xC0FFEE00DEADBEEFull);

    IWVestraInstance* instance = RegisterHost(*host);
    EXPECT_EQ(IWV_ENTRY(HSTDLLInwEksportujTowary)(instance, callContext, goodsPath.c_str()), 0);
    IWV_ENTRY(HSTDLLZwolnijBiblioteke)(instance);

    EXPECT_EQ(host->calls.size(), 7u);
    for (const auto& call : host->calls) {
        EXPECT_EQ(call.hostContext, host->Context()) << call.callback;
        EXPECT_EQ(call.callContext, callContext) << call.callback;
    }
    host->~RecordingHost();
    ::VirtualFree(top, 0, MEM_RELEASE);
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
    EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), IWV_VERSION_BUILD);
    // A release's file version ends in 0 and no other build's does, so that
    // two different DLLs never show the same version.
    EXPECT_EQ(fixed->dwFileFlags & VS_FF_PRERELEASE, IWV_VERSION_BUILD == 0 ? 0u : VS_FF_PRERELEASE);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

    const struct {
        const char* key;
        const char* value;
    } strings[] = {
        {"ProductName", IWV_PRODUCT_NAME},
        {"FileVersion", IWV_VERSION_TEXT},
        {"ProductVersion", IWV_PRODUCT_VERSION_TEXT},
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
