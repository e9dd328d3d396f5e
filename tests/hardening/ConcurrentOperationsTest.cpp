// Two exports and two imports at once, on four threads, each with an instance
// and a shop of its own: every host gets its own result and only its own
// callbacks, with the simulated terminal's drivers.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/PluginEntryPoints.h"
#include "TestFiles.h"
#include "common/Cp1250.h"
#include "resources/ScopedEnvironment.h"

namespace iwv::test {
namespace {

namespace fs = std::filesystem;

// One host with its shop: Shop\Data holds its files, Shop is the work
// directory, and Shop\terminal is the terminal its drivers talk to.
struct Shop {
    Shop(bool exports, std::string hostFile, std::string expected)
        : exports(exports), hostFile(std::move(hostFile)), expected(std::move(expected)) {}

    bool exports;
    std::string hostFile;  // goods file to export, or terminal count to import
    std::string expected;  // lookup file, or count file

    TempDir dir;
    std::unique_ptr<RegisteredHost> host;
    OperationResult result;

    fs::path Work() const { return dir.Path() / "Shop"; }
    std::string DataPath() const {
        return dir.Path().string() + (exports ? "\\Shop\\Data\\towary.txt" : "\\Shop\\Data\\remanent.txt");
    }
};

std::string Status() { return std::string(Cp1250("\nTransakcja w toku ...").view()); }

TEST(HardeningConcurrency, TwoExportsAndTwoImportsAtOnceKeepApart) {
    const std::string separator = fs::path::preferred_separator == '\\' ? ";" : ":";
    ScopedEnvironment path("PATH", std::string(IWV_SIMULATOR_DIR) + separator +
                                       ScopedEnvironment::Get("PATH").value_or(""));
    // Relative: every driver finds the terminal in its own work directory.
    ScopedEnvironment terminal("IWV_TERMINAL_DIR", "terminal");
    PluginEntryPoints plugin;

    std::array<Shop, 4> shops{
        Shop{true, "X;590001;Mleko;189;249;1000\r\nX;590002;Chleb;95;129;3000\r\n",
             "Mleko,590001,1.000,0,2.49\r\nChleb,590002,3.000,0,1.29\r\n"},
        Shop{true, "X;690001;S\xF3l, kamienna;50;70;12500\r\n", "S\xF3l. kamienna,690001,12.500,0,0.70\r\n"},
        Shop{false, "590001,2\r\n590002,1.5\r\n", "INW;590001;2000\r\nINW;590002;1500\r\n"},
        Shop{false, "690001,00000\r\n690002,.25\r\n", "INW;690002;250\r\n"},
    };
    for (Shop& shop : shops) {
        fs::create_directories(shop.Work() / "Data");
        fs::create_directories(shop.Work() / "terminal");
        if (shop.exports)
            WriteBytes(shop.Work() / "Data" / "towary.txt", shop.hostFile);
        else
            WriteBytes(shop.Work() / "terminal" / "counts.txt", shop.hostFile);
        shop.host = std::make_unique<RegisteredHost>(plugin);
        shop.host->host.answers = {
            {"port", "COM2"}, {"baud", "9600"}, {"timeout", "1 min"}, {"dlugosc", "20 liter"}, {"cena", "Cena det"}};
    }

    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < shops.size(); ++i)
        threads.emplace_back([&shop = shops[i], call = 100 + i] {
            shop.result = shop.exports ? shop.host->Export(shop.DataPath(), call)
                                       : shop.host->Import(shop.DataPath(), call);
        });
    for (std::thread& thread : threads) thread.join();

    for (std::size_t i = 0; i < shops.size(); ++i) {
        const Shop& shop = shops[i];
        SCOPED_TRACE(testing::Message() << (shop.exports ? "export " : "import ") << i);
        ASSERT_FALSE(shop.result.raised) << shop.result.message;
        EXPECT_EQ(shop.result.value, 1);
        const std::vector<std::string> calls =
            shop.exports ? std::vector<std::string>{"GetParameterValue:port", "GetParameterValue:baud",
                                                    "GetParameterValue:timeout", "GetParameterValue:dlugosc",
                                                    "GetParameterValue:cena", "ShowStatus:" + Status()}
                         : std::vector<std::string>{"GetParameterValue:port", "GetParameterValue:baud",
                                                    "GetParameterValue:timeout", "ShowStatus:" + Status()};
        EXPECT_EQ(shop.host->Summary(), calls);
        for (const HostCall& call : shop.host->host.calls) {
            EXPECT_EQ(call.hostContext, shop.host->host.Context());
            EXPECT_EQ(call.callContext, 100 + i);
        }
        if (shop.exports) {
            EXPECT_EQ(ReadBytes(shop.Work() / "inwout.txt"), shop.expected);
            EXPECT_EQ(ReadBytes(shop.Work() / "terminal" / "goods.txt"), shop.expected) << "the terminal got it";
        } else {
            EXPECT_EQ(ReadBytes(shop.Work() / "Data" / "remanent.txt"), shop.expected);
        }
    }
}

// Two stations share one work directory (two docks, two count files in one
// data folder). While the first one's operation runs, with its driver
// taking its time, the second is refused at once, before it touches a file,
// and told why; the first one's files are its own throughout.
struct SharedCase {
    const char* name;
    bool exports;
};

void PrintTo(const SharedCase& c, std::ostream* out) { *out << c.name; }

class HardeningSharedWorkDirectory : public testing::TestWithParam<SharedCase> {};

TEST_P(HardeningSharedWorkDirectory, SecondStationIsRefusedWhileTheFirstRuns) {
    const bool exports = GetParam().exports;
    const std::string separator = fs::path::preferred_separator == '\\' ? ";" : ":";
    ScopedEnvironment path("PATH", std::string(IWV_SIMULATOR_DIR) + separator +
                                       ScopedEnvironment::Get("PATH").value_or(""));
    ScopedEnvironment terminal("IWV_TERMINAL_DIR", "terminal");
    ScopedEnvironment slow("IWV_SIMULATOR_DELAY_MS", "1500");
    PluginEntryPoints plugin;
    TempDir dir;
    const fs::path work = dir.Path() / "Sklep";
    fs::create_directories(work / "Dane");
    fs::create_directories(work / "terminal");
    WriteBytes(work / "terminal" / "counts.txt", "590001,2\r\n");
    WriteBytes(work / "Dane" / "kasa1.txt", "X;590001;Mleko;189;249;1000\r\n");
    WriteBytes(work / "Dane" / "kasa2.txt", "X;690001;Chleb;95;129;3000\r\n");
    const auto dataPath = [&](const char* name) { return dir.Path().string() + "\\Sklep\\Dane\\" + name; };
    RegisteredHost first(plugin);
    RegisteredHost second(plugin);
    for (RegisteredHost* host : {&first, &second}) host->host.answers = {{"timeout", "1 min"}};

    OperationResult firstResult;
    std::thread running([&] {
        firstResult = exports ? first.Export(dataPath("kasa1.txt"), 1) : first.Import(dataPath("kasa1.txt"), 1);
    });
    // The first one holds the work directory from its first moment on; the
    // lock's file is there while it does. Its driver starts a second later.
    for (int wait = 0; wait < 500 && !fs::exists(work / "iwvestra.lock"); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const OperationResult secondResult =
        exports ? second.Export(dataPath("kasa2.txt"), 2) : second.Import(dataPath("kasa2.txt"), 2);
    running.join();

    ASSERT_FALSE(secondResult.raised) << secondResult.message;
    EXPECT_EQ(secondResult.value, 0);
    const std::string busy = std::string(Cp1250("Inna wymiana danych z inwentaryzatorem trwa w folderze ").view()) +
                             dir.Path().string() + "\\Sklep" + std::string(Cp1250(". Spróbuj ponownie, gdy się zakończy.").view());
    EXPECT_EQ(second.Summary().back(), "ReportError:" + busy);
    EXPECT_TRUE(second.host.Texts("ShowStatus").empty());
    EXPECT_EQ(ReadBytes(work / "Dane" / "kasa2.txt"), "X;690001;Chleb;95;129;3000\r\n") << "untouched";

    ASSERT_FALSE(firstResult.raised) << firstResult.message;
    EXPECT_EQ(firstResult.value, 1);
    if (exports) {
        EXPECT_EQ(ReadBytes(work / "terminal" / "goods.txt"), "Mleko,590001,1.000,0,2.49\r\n");
    } else {
        EXPECT_EQ(ReadBytes(work / "Dane" / "kasa1.txt"), "INW;590001;2000\r\n");
    }
}

INSTANTIATE_TEST_SUITE_P(, HardeningSharedWorkDirectory,
                         testing::Values(SharedCase{"Imports", false}, SharedCase{"Exports", true}),
                         [](const testing::TestParamInfo<SharedCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace iwv::test
