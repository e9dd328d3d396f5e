// The goods export and the stock-count import through the real DLL, loaded as
// a host loads it, with the simulated terminal's drivers on the search path.

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <memory>
#include <thread>

#include "TestFiles.h"
#include "support/PluginEntryPoints.h"
#include "support/WindowsPath.h"
#include "common/Cp1250.h"

namespace iwv::test {
namespace {

constexpr auto kStatus = Cp1250("\nTransakcja w toku ...");
constexpr auto kExportStartFailure = Cp1250("Błąd uruchomienia driver'a (dlookup.exe).");
constexpr auto kImportStartFailure = Cp1250("Błąd uruchomienia driver'a (232_read.exe).");
constexpr auto kConnectionError = Cp1250("Nie udało się nawiązac połączenia !");
constexpr auto kGoods = Cp1250(
    "X;123456;Mąka pszenna, typ 450;189;249;12500\r\n"
    "X;590001;Sól kuchenna jodowana 1 kg;95;129;3000\r\n"
    "X;590002;Masło extra 200 g;499;699;0\r\n");
constexpr auto kLookup = Cp1250(
    "Mąka pszenna. typ 45,123456,12.500,0,2.49\r\n"
    "Sól kuchenna jodowan,590001,3.000,0,1.29\r\n"
    "Masło extra 200 g,590002,0,0,6.99\r\n");

const std::map<std::string, std::string> kHostValues = {
    {"port", "COM1"}, {"baud", "115200"}, {"timeout", "1 min"}, {"dlugosc", "20 liter"}, {"cena", "Cena det"},
};

std::string Environment(const char* name) {
    char value[32767];
    const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
    return std::string(value, length < sizeof value ? length : 0);
}

class OperationsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { plugin_ = new PluginEntryPoints; }
    static void TearDownTestSuite() {
        delete plugin_;
        plugin_ = nullptr;
    }

    void SetUp() override {
        std::filesystem::create_directories(Data());
        savedPath_ = Environment("PATH");
        UseSimulator(true);
        ::SetEnvironmentVariableA("IWV_TERMINAL_DIR", Terminal().string().c_str());
    }
    void TearDown() override {
        ::SetEnvironmentVariableA("PATH", savedPath_.c_str());
        for (const char* name : {"IWV_TERMINAL_DIR", "IWV_SIMULATOR_HANG", "IWV_SIMULATOR_NO_DATA",
                                 "IWV_SIMULATOR_EXIT_CODE", "IWV_SIMULATOR_DELAY_MS"})
            ::SetEnvironmentVariableA(name, nullptr);
    }

    // The drivers are found through PATH only: neither the test's own folder
    // nor its current directory holds programs of those names.
    void UseSimulator(bool found) {
        const std::string path = found ? WindowsPath(IWV_SIMULATOR_DIR) + ";" + savedPath_ : savedPath_;
        ::SetEnvironmentVariableA("PATH", path.c_str());
    }

    std::filesystem::path Shop() const { return dir_.Path() / "Shop"; }
    std::filesystem::path Data() const { return Shop() / "Data"; }
    std::filesystem::path Terminal() const { return dir_.Path() / "terminal"; }
    std::string GoodsPath() const { return (Data() / "towary.txt").string(); }
    std::string CountPath() const { return (Data() / "remanent.txt").string(); }

    std::unique_ptr<RegisteredHost> NewHost() {
        auto host = std::make_unique<RegisteredHost>(*plugin_);
        host->host.answers = kHostValues;
        return host;
    }

    static PluginEntryPoints* plugin_;
    TempDir dir_;
    std::string savedPath_;
};

PluginEntryPoints* OperationsTest::plugin_ = nullptr;

const std::vector<std::string> kExportCalls = {
    "GetParameterValue:port", "GetParameterValue:baud", "GetParameterValue:timeout", "GetParameterValue:dlugosc", "GetParameterValue:cena",
    "ShowStatus:" + std::string(kStatus.view()),
};
const std::vector<std::string> kImportCalls = {
    "GetParameterValue:port", "GetParameterValue:baud", "GetParameterValue:timeout", "ShowStatus:" + std::string(kStatus.view()),
};

TEST_F(OperationsTest, ExportThenImportCarriesTheCountBackToTheHost) {
    WriteBytes(GoodsPath(), kGoods.view());
    auto host = NewHost();

    const OperationResult exported = host->Export(GoodsPath(), 11);
    ASSERT_FALSE(exported.raised) << exported.message;
    EXPECT_EQ(exported.value, 1);
    EXPECT_EQ(host->Summary(), kExportCalls);
    EXPECT_EQ(ReadBytes(Shop() / "inwout.txt"), kLookup.view());
    EXPECT_EQ(ReadBytes(Terminal() / "goods.txt"), kLookup.view()) << "the driver loaded the terminal";

    std::filesystem::create_directories(Terminal());
    WriteBytes(Terminal() / "counts.txt", "123456,12.5\r\n590002,3\r\n590001,00000\r\n");
    WriteBytes(CountPath(), "stale count\r\n");
    const OperationResult imported = host->Import(CountPath(), 12);
    ASSERT_FALSE(imported.raised) << imported.message;
    EXPECT_EQ(imported.value, 1);
    EXPECT_EQ(ReadBytes(CountPath()), "INW;123456;12500\r\nINW;590002;3000\r\n");

    std::vector<std::string> both = kExportCalls;
    both.insert(both.end(), kImportCalls.begin(), kImportCalls.end());
    EXPECT_EQ(host->Summary(), both);
    for (std::size_t i = 0; i < host->host.calls.size(); ++i) {
        EXPECT_EQ(host->host.calls[i].hostContext, host->host.Context());
        EXPECT_EQ(host->host.calls[i].callContext, i < kExportCalls.size() ? 11u : 12u);
    }
}

TEST_F(OperationsTest, EmptyGoodsFileGivesAnEmptyLookupFileAndTheDriverStillRuns) {
    WriteBytes(GoodsPath(), "");
    WriteBytes(Shop() / "inwout.txt", "old lookup\r\n");
    auto host = NewHost();
    const OperationResult result = host->Export(GoodsPath(), 1);
    ASSERT_FALSE(result.raised) << result.message;
    EXPECT_EQ(result.value, 1);
    EXPECT_EQ(ReadBytes(Shop() / "inwout.txt"), "");
    EXPECT_EQ(ReadBytes(Terminal() / "goods.txt"), "");
}

// A lookup file of many megabytes is flushed to disk on a thread of the
// library's own while it is written: the export returns once all of it is in
// place, with no temporary file left beside it.
TEST_F(OperationsTest, LargeLookupFileIsWrittenWhole) {
    std::string goods;
    std::string lookup;
    while (lookup.size() < (std::size_t{9} << 20)) {
        goods += kGoods.view();
        lookup += kLookup.view();
    }
    WriteBytes(GoodsPath(), goods);
    auto host = NewHost();
    const OperationResult result = host->Export(GoodsPath(), 1);
    ASSERT_FALSE(result.raised) << result.message;
    EXPECT_EQ(result.value, 1);
    EXPECT_TRUE(ReadBytes(Shop() / "inwout.txt") == lookup);
    for (const auto& entry : std::filesystem::directory_iterator(Shop()))
        EXPECT_NE(entry.path().filename().string().rfind("~iv", 0), 0u) << entry.path();
}

TEST_F(OperationsTest, MissingDriverIsReportedAndTheHostsFilesStay) {
    UseSimulator(false);
    WriteBytes(GoodsPath(), kGoods.view());
    WriteBytes(CountPath(), "INW;1;1000\r\n");
    WriteBytes(Shop() / "inwin.txt", "9,9\r\n");
    auto host = NewHost();

    const auto start = std::chrono::steady_clock::now();
    const OperationResult exported = host->Export(GoodsPath(), 1);
    ASSERT_FALSE(exported.raised) << exported.message;
    EXPECT_EQ(exported.value, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << "no waiting for a driver";
    EXPECT_EQ(host->Summary().back(), "ReportError:" + std::string(kExportStartFailure.view()));
    EXPECT_EQ(ReadBytes(Shop() / "inwout.txt"), kLookup.view()) << "written before the driver start";

    const OperationResult imported = host->Import(CountPath(), 2);
    ASSERT_FALSE(imported.raised) << imported.message;
    EXPECT_EQ(imported.value, 0);
    EXPECT_EQ(host->Summary().back(), "ReportError:" + std::string(kImportStartFailure.view()));
    EXPECT_EQ(ReadBytes(CountPath()), "INW;1;1000\r\n");
    EXPECT_FALSE(std::filesystem::exists(Shop() / "inwin.txt")) << "an old count must not survive the import";
}

TEST_F(OperationsTest, DriverThatLeavesNoCountLeavesTheCountFileAsItWas) {
    ::SetEnvironmentVariableA("IWV_SIMULATOR_NO_DATA", "1");
    const std::string countFile = "INW;5;2000\r\nINW;6;1000\r\n";
    WriteBytes(CountPath(), countFile);
    WriteBytes(Shop() / "inwin.txt", "5,99\r\n");  // from an earlier import
    auto host = NewHost();
    const OperationResult result = host->Import(CountPath(), 3);
    ASSERT_FALSE(result.raised) << result.message;
    EXPECT_EQ(result.value, 1);
    EXPECT_EQ(ReadBytes(CountPath()), countFile);
    EXPECT_EQ(host->Summary(), kImportCalls);
}

TEST_F(OperationsTest, GoodsFileHeldOpenForWritingEndsTheExportWithALibraryError) {
    WriteBytes(GoodsPath(), kGoods.view());
    HANDLE writer = ::CreateFileA(GoodsPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    auto host = NewHost();
    const OperationResult result = host->Export(GoodsPath(), 4);
    ::CloseHandle(writer);
    ASSERT_TRUE(result.raised);
    EXPECT_EQ(result.message, "Cannot open file " + GoodsPath());
    EXPECT_EQ(host->Summary(), kExportCalls) << "status shown, no error reported through the callback";
    EXPECT_FALSE(std::filesystem::exists(Shop() / "inwout.txt"));
    EXPECT_FALSE(std::filesystem::exists(Terminal() / "goods.txt")) << "the driver must not run";
}

TEST_F(OperationsTest, MissingWorkDirectoryEndsTheExportWithALibraryError) {
    WriteBytes(GoodsPath(), kGoods.view());
    // The two last components are dropped without looking at them, so this
    // path reads the goods file from Data but works in Data\Missing.
    const std::string dataPath = (Data() / "Missing").string() + "\\..\\towary.txt";
    auto host = NewHost();
    const OperationResult result = host->Export(dataPath, 5);
    ASSERT_TRUE(result.raised);
    EXPECT_EQ(result.message, "Cannot create file " + (Data() / "Missing").string() + "\\inwout.txt");
    EXPECT_FALSE(std::filesystem::exists(Terminal() / "goods.txt")) << "the driver must not run";
}

TEST_F(OperationsTest, NullDataPathEndsTheExportWithALibraryError) {
    auto host = NewHost();
    const OperationResult result = host->Export(nullptr, 6);
    ASSERT_TRUE(result.raised);
    EXPECT_EQ(result.message, "Cannot open file ");
}

TEST_F(OperationsTest, TwoInstancesOnTwoThreadsKeepApart) {
    TempDir other;
    const std::filesystem::path otherData = other.Path() / "Shop" / "Data";
    std::filesystem::create_directories(otherData);
    WriteBytes(GoodsPath(), kGoods.view());
    std::filesystem::create_directories(Terminal());
    WriteBytes(Terminal() / "counts.txt", "590001,2\r\n");
    const std::string otherCount = (otherData / "remanent.txt").string();

    auto exporter = NewHost();
    auto importer = NewHost();
    OperationResult exported, imported;
    std::thread first([&] { exported = exporter->Export(GoodsPath(), 31); });
    std::thread second([&] { imported = importer->Import(otherCount, 32); });
    first.join();
    second.join();

    ASSERT_FALSE(exported.raised) << exported.message;
    ASSERT_FALSE(imported.raised) << imported.message;
    EXPECT_EQ(exported.value, 1);
    EXPECT_EQ(imported.value, 1);
    EXPECT_EQ(exporter->Summary(), kExportCalls);
    EXPECT_EQ(importer->Summary(), kImportCalls);
    for (const HostCall& call : exporter->host.calls) EXPECT_EQ(call.callContext, 31u);
    for (const HostCall& call : importer->host.calls) EXPECT_EQ(call.callContext, 32u);
    EXPECT_EQ(ReadBytes(Shop() / "inwout.txt"), kLookup.view());
    EXPECT_EQ(ReadBytes(otherCount), "INW;590001;2000\r\n");
}

// The smallest time-out a host can choose: one minute of polls, then the
// driver is killed and the call ends with the connection error.
TEST_F(OperationsTest, HangingDriverIsKilledAfterOneMinute) {
    ::SetEnvironmentVariableA("IWV_SIMULATOR_HANG", "1");
    WriteBytes(CountPath(), "INW;1;1000\r\n");
    auto host = NewHost();
    const auto start = std::chrono::steady_clock::now();
    const OperationResult result = host->Import(CountPath(), 9);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(result.raised);
    EXPECT_EQ(result.message, kConnectionError.view());
    EXPECT_GE(elapsed, std::chrono::seconds(63)) << "3 s of pauses and 600 polls of 100 ms";
    EXPECT_LT(elapsed, std::chrono::seconds(100));
    EXPECT_EQ(ReadBytes(CountPath()), "INW;1;1000\r\n");
    EXPECT_EQ(host->Summary(), kImportCalls) << "no ReportError on a time-out";
}

}  // namespace
}  // namespace iwv::test
