#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "driver/DriverSettings.h"

namespace iwv {
namespace {

// The host's parameter values, and the keys it was asked for.
struct FakeHost {
    std::map<std::string, std::string> answers;
    std::vector<std::string> keysAsked;
};

DriverSettings Resolve(DriverKind kind, FakeHost& fake) {
    return ResolveDriverSettings(kind, [&fake](const char* key) {
        fake.keysAsked.push_back(key);
        const auto answer = fake.answers.find(key);
        return answer == fake.answers.end() ? std::string() : answer->second;
    });
}

std::string BaseCommandLine(DriverKind kind) {
    return kind == DriverKind::Export ? "dlookup.exe inwout.txt" : "232_read.exe inwin.txt";
}

struct ValueCode {
    const char* value;
    const char* code;
};

constexpr ValueCode kPorts[] = {
    {"COM1", ",1"}, {"COM2", ",2"}, {"COM3", ",3"}, {"COM4", ",4"},   {"COM5", ",5"},  {"COM6", ",6"},
    {"COM7", ",7"}, {"COM8", ",8"}, {"COM9", ",9"}, {"COM10", ",10"}, {"COM11", ""},   {"com1", ""},
};

constexpr ValueCode kBauds[] = {
    {"115200", ",1"}, {"57600", ",2"}, {"38400", ",3"}, {"19200", ",4"}, {"9600", ",5"}, {"4800", ""}, {"", ""},
};

TEST(DriverSettingsTest, CommandLineCarriesThePortCodeThenTheBaudCode) {
    for (const DriverKind kind : {DriverKind::Export, DriverKind::Import}) {
        for (const ValueCode& port : kPorts) {
            for (const ValueCode& baud : kBauds) {
                FakeHost fake;
                fake.answers = {{"port", port.value}, {"baud", baud.value}};
                SCOPED_TRACE(std::string(port.value) + " / " + baud.value);
                EXPECT_EQ(Resolve(kind, fake).CommandLine, BaseCommandLine(kind) + port.code + baud.code);
            }
        }
    }
}

struct NumberCase {
    const char* key;
    const char* value;
    std::uint32_t timeoutTicks;
    int nameLength;
    int priceLevel;
};

// Each value text alone; every other setting stays at its start value.
constexpr NumberCase kNumberCases[] = {
    {"timeout", "1 min", 600, 20, 0},
    {"timeout", "2 min", 1200, 20, 0},
    {"timeout", "5 min", 3000, 20, 0},
    {"timeout", "10 min", 6000, 20, 0},
    {"timeout", "15 min", 9000, 20, 0},
    {"timeout", "30 min", 18000, 20, 0},
    {"dlugosc", "10 liter", 3000, 10, 0},
    {"dlugosc", "15 liter", 3000, 15, 0},
    {"dlugosc", "20 liter", 3000, 20, 0},
    {"dlugosc", "25 liter", 3000, 25, 0},
    {"dlugosc", "30 liter", 3000, 30, 0},
    {"cena", "Cena det", 3000, 20, 0},
    {"cena", "Cena zak", 3000, 20, 1},
};

TEST(DriverSettingsTest, ExportTakesEveryTimeoutNameLengthAndPriceLevel) {
    for (const NumberCase& entry : kNumberCases) {
        FakeHost fake;
        fake.answers = {{entry.key, entry.value}};
        SCOPED_TRACE(std::string(entry.key) + " = " + entry.value);
        const DriverSettings settings = Resolve(DriverKind::Export, fake);
        EXPECT_EQ(settings.TimeoutTicks, entry.timeoutTicks);
        EXPECT_EQ(settings.NameLength, entry.nameLength);
        EXPECT_EQ(settings.PriceLevel, entry.priceLevel);
        EXPECT_EQ(settings.CommandLine, "dlookup.exe inwout.txt");
    }
}

TEST(DriverSettingsTest, ImportTakesEveryTimeout) {
    for (const NumberCase& entry : kNumberCases) {
        if (std::string(entry.key) != "timeout") continue;
        FakeHost fake;
        fake.answers = {{"timeout", entry.value}};
        SCOPED_TRACE(entry.value);
        EXPECT_EQ(Resolve(DriverKind::Import, fake).TimeoutTicks, entry.timeoutTicks);
    }
}

struct Mismatch {
    const char* key;
    const char* value;
};

// Texts close to a value text, each of which must leave the start value (or
// no code) in place: the host's texts are compared byte for byte.
constexpr Mismatch kMismatches[] = {
    {"port", " COM1"}, {"port", "com1"}, {"port", "COM01"}, {"port", "COM1 "}, {"port", "COM0"}, {"port", ""},
    {"baud", "115200 "}, {"baud", " 9600"}, {"baud", "096000"}, {"baud", ""},
    {"timeout", "5min"}, {"timeout", "45 min"}, {"timeout", "1 MIN"}, {"timeout", "1 min "}, {"timeout", "600"},
    {"timeout", ""},
    {"dlugosc", "10 liter "}, {"dlugosc", "10"}, {"dlugosc", "10 litr"}, {"dlugosc", ""},
    {"cena", "cena zak"}, {"cena", "Cena zak "}, {"cena", "1"}, {"cena", ""},
};

TEST(DriverSettingsTest, TextsThatMatchNoEntryKeepTheStartValues) {
    for (const Mismatch& mismatch : kMismatches) {
        FakeHost fake;
        fake.answers = {{mismatch.key, mismatch.value}};
        SCOPED_TRACE(std::string(mismatch.key) + " = '" + mismatch.value + "'");
        const DriverSettings settings = Resolve(DriverKind::Export, fake);
        EXPECT_EQ(settings.CommandLine, "dlookup.exe inwout.txt");
        EXPECT_EQ(settings.TimeoutTicks, 3000u);
        EXPECT_EQ(settings.NameLength, 20);
        EXPECT_EQ(settings.PriceLevel, 0);
    }
}

TEST(DriverSettingsTest, CatalogueDefaultsGiveTheUsualExportSettings) {
    FakeHost fake;
    fake.answers = {{"port", "COM1"}, {"baud", "115200"}, {"timeout", "5 min"}, {"dlugosc", "20 liter"},
                    {"cena", "Cena det"}};
    const DriverSettings settings = Resolve(DriverKind::Export, fake);
    EXPECT_EQ(settings.CommandLine, "dlookup.exe inwout.txt,1,1");
    EXPECT_EQ(settings.TimeoutTicks, 3000u);
    EXPECT_EQ(settings.NameLength, 20);
    EXPECT_EQ(settings.PriceLevel, 0);
}

TEST(DriverSettingsTest, EveryKeyIsAskedOnceInOrderWhateverTheAnswers) {
    const std::vector<std::string> exportKeys = {"port", "baud", "timeout", "dlugosc", "cena"};
    const std::vector<std::string> importKeys = {"port", "baud", "timeout"};
    const std::map<std::string, std::string> answerSets[] = {
        {},
        {{"port", "COM3"}, {"baud", "9600"}, {"timeout", "1 min"}, {"dlugosc", "30 liter"}, {"cena", "Cena zak"}},
        {{"port", "x"}, {"baud", "y"}, {"timeout", "z"}, {"dlugosc", "v"}, {"cena", "w"}},
    };
    for (const auto& answers : answerSets) {
        for (const DriverKind kind : {DriverKind::Export, DriverKind::Import}) {
            FakeHost fake;
            fake.answers = answers;
            Resolve(kind, fake);
            EXPECT_EQ(fake.keysAsked, kind == DriverKind::Export ? exportKeys : importKeys);
        }
    }
}

TEST(DriverSettingsTest, ImportIgnoresNameLengthAndPriceLevelAnswers) {
    FakeHost fake;
    fake.answers = {{"port", "COM2"}, {"baud", "57600"}, {"timeout", "2 min"}, {"dlugosc", "10 liter"},
                    {"cena", "Cena zak"}};
    const DriverSettings settings = Resolve(DriverKind::Import, fake);
    EXPECT_EQ(settings.CommandLine, "232_read.exe inwin.txt,2,2");
    EXPECT_EQ(settings.TimeoutTicks, 1200u);
    EXPECT_EQ(settings.NameLength, 20);
    EXPECT_EQ(settings.PriceLevel, 0);
}

TEST(DriverSettingsTest, NothingCarriesOverFromOneCallToTheNext) {
    FakeHost fake;
    fake.answers = {{"port", "COM3"}, {"baud", "9600"}, {"timeout", "30 min"}, {"cena", "Cena zak"}};
    Resolve(DriverKind::Export, fake);
    fake.answers.clear();
    const DriverSettings settings = Resolve(DriverKind::Export, fake);
    EXPECT_EQ(settings.CommandLine, "dlookup.exe inwout.txt");
    EXPECT_EQ(settings.TimeoutTicks, 3000u);
    EXPECT_EQ(settings.PriceLevel, 0);
}

}  // namespace
}  // namespace iwv
