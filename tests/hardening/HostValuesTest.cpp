// Hosts that answer badly, through the plug-in's entry points: values that
// fill the whole value buffer, values that match no value text, an empty data
// path. None may crash the library or change what the driver is given.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/PluginEntryPoints.h"
#include "TestFiles.h"
#include "common/Cp1250.h"
#include "resources/DriverSandbox.h"

namespace iwv::test {
namespace {

// A name of 36 characters with commas and both prices: the defaults (20
// characters, retail price) show in the lookup line.
const std::string kGoods = "X;590001;Chleb \xBFytni krojony, 500 g, pakowany;189;249;12500\r\n";
const std::string kDefaultLookup = "Chleb \xBFytni krojony.,590001,12.500,0,2.49\r\n";

const std::map<std::string, std::string> kValidValues = {
    {"port", "COM1"}, {"baud", "115200"}, {"timeout", "1 min"}, {"dlugosc", "30 liter"}, {"cena", "Cena zak"}};

// Every valid value, made up to `length` bytes with spaces after it.
std::map<std::string, std::string> PaddedValues(std::size_t length) {
    std::map<std::string, std::string> values;
    for (const auto& [key, value] : kValidValues) values[key] = value + std::string(length - value.size(), ' ');
    return values;
}

std::vector<std::string> Calls(const std::vector<std::string>& keys) {
    std::vector<std::string> calls;
    for (const std::string& key : keys) calls.push_back("GetParameterValue:" + key);
    calls.push_back("ShowStatus:" + std::string(Cp1250("\nTransakcja w toku ...").view()));
    return calls;
}

class HardeningHostCall : public testing::Test {
protected:
    HardeningHostCall() { std::filesystem::create_directories(sandbox_.Work() / "Data"); }

    // The host's data path: backslashes, as a Windows host passes it.
    std::string DataPath(const char* name) const { return sandbox_.WorkDirectory() + "\\Data\\" + name; }

    DriverSandbox sandbox_;
    PluginEntryPoints plugin_;
};

struct HostilityCase {
    const char* name;
    std::map<std::string, std::string> values;
    bool writesNul;
};

void PrintTo(const HostilityCase& c, std::ostream* out) { *out << c.name; }

const HostilityCase kCases[] = {
    // The longest text that fits, and the whole buffer without its NUL:
    // either way a valid value followed by spaces, which is no value text.
    {"TwoHundredNinetyNineBytes", PaddedValues(IWV_VALUE_BUFFER_SIZE - 1), true},
    {"ThreeHundredBytesWithoutNul", PaddedValues(IWV_VALUE_BUFFER_SIZE), false},
    {"NearMisses",
     {{"port", "com1"}, {"baud", "9600 "}, {"timeout", " 1 min"}, {"dlugosc", "30 Liter"}, {"cena", "Cena zak."}},
     true},
};

class HardeningHostValues : public HardeningHostCall, public testing::WithParamInterface<HostilityCase> {};

TEST_P(HardeningHostValues, ExportKeepsTheBaseCommandLineAndTheDefaults) {
    const HostilityCase& c = GetParam();
    WriteBytes(sandbox_.Work() / "Data" / "towary.txt", kGoods);
    RegisteredHost host(plugin_);
    host.host.answers = c.values;
    host.host.writesNul = c.writesNul;

    const OperationResult result = host.Export(DataPath("towary.txt"), 5);

    ASSERT_FALSE(result.raised) << result.message;
    EXPECT_EQ(result.value, 1);
    EXPECT_EQ(host.Summary(), Calls({"port", "baud", "timeout", "dlugosc", "cena"}));
    const std::optional<DriverRecord> record = sandbox_.Record();
    ASSERT_TRUE(record.has_value()) << "the driver ran";
    EXPECT_EQ(record->commandLine, "dlookup.exe inwout.txt");
    EXPECT_EQ(ReadBytes(sandbox_.Work() / "inwout.txt"), kDefaultLookup) << "20 characters, retail price";
}

INSTANTIATE_TEST_SUITE_P(, HardeningHostValues, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<HostilityCase>& info) { return info.param.name; });

TEST_F(HardeningHostCall, ImportWithFullValueBuffersKeepsTheBaseCommandLine) {
    const std::string count = "INW;1;1000\r\n";
    WriteBytes(sandbox_.Work() / "Data" / "remanent.txt", count);
    RegisteredHost host(plugin_);
    host.host.answers = PaddedValues(IWV_VALUE_BUFFER_SIZE);
    host.host.writesNul = false;

    const OperationResult result = host.Import(DataPath("remanent.txt"), 6);

    ASSERT_FALSE(result.raised) << result.message;
    EXPECT_EQ(result.value, 1);
    EXPECT_EQ(host.Summary(), Calls({"port", "baud", "timeout"}));
    const std::optional<DriverRecord> record = sandbox_.Record();
    ASSERT_TRUE(record.has_value()) << "the driver ran";
    EXPECT_EQ(record->commandLine, "232_read.exe inwin.txt");
    EXPECT_EQ(ReadBytes(sandbox_.Work() / "Data" / "remanent.txt"), count) << "no count came back";
}

TEST_F(HardeningHostCall, EmptyDataPathIsAGoodsFileThatCannotBeOpened) {
    RegisteredHost host(plugin_);

    const OperationResult result = host.Export("", 7);

    EXPECT_TRUE(result.raised);
    EXPECT_EQ(result.message, "Cannot open file ");
    EXPECT_FALSE(sandbox_.Record().has_value()) << "the driver must not run";
}

}  // namespace
}  // namespace iwv::test
