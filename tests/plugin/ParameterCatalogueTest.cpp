#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "plugin/ExpectedTexts.h"
#include "plugin/HostBuffer.h"
#include "IWVestra.h"
#include "driver/DriverSettings.h"
#include "driver/Parameters.h"

namespace {

using iwv::test::HostBuffer;

// The five output buffers of HSTDLLParametr.
struct DescriptionBuffers {
    std::array<HostBuffer, 5> buffers;

    std::int32_t Describe(std::int32_t group, std::uint32_t index) {
        return HSTDLLParametr(group, index, buffers[0].data(), buffers[1].data(), buffers[2].data(),
                              buffers[3].data(), buffers[4].data(), 0);
    }
    bool Untouched() const {
        for (const auto& buffer : buffers)
            if (!buffer.Untouched()) return false;
        return true;
    }
};

TEST(ParameterCatalogue, DescribesEveryParameterInOrder) {
    const auto& parameters = iwv::expected::Parameters();
    for (std::uint32_t index = 0; index < parameters.size(); ++index) {
        SCOPED_TRACE(parameters[index].key);
        DescriptionBuffers out;
        EXPECT_EQ(out.Describe(301, index), 2);
        EXPECT_EQ(out.buffers[0].Text(), parameters[index].key);
        EXPECT_EQ(out.buffers[1].Text(), parameters[index].caption);
        EXPECT_EQ(out.buffers[2].Text(), parameters[index].defaultValue);
        EXPECT_EQ(out.buffers[3].Text(), "");
        EXPECT_EQ(out.buffers[4].Text(), "");
        for (const auto& buffer : out.buffers) EXPECT_TRUE(buffer.UntouchedAfterText());
    }
}

TEST(ParameterCatalogue, SpeedCaptionIsEightWindows1250Bytes) {
    DescriptionBuffers out;
    ASSERT_EQ(out.Describe(301, 1), 2);
    const std::string caption = out.buffers[1].Text();
    const unsigned char expected[] = {0x50, 0x72, 0xEA, 0x64, 0x6B, 0x6F, 0x9C, 0xE6};
    ASSERT_EQ(caption.size(), sizeof expected);
    for (std::size_t i = 0; i < sizeof expected; ++i)
        EXPECT_EQ(static_cast<unsigned char>(caption[i]), expected[i]) << "byte " << i;
}

TEST(ParameterCatalogue, OtherGroupsAndIndicesWriteNothing) {
    const struct {
        std::int32_t group;
        std::uint32_t index;
    } cases[] = {
        {300, 0}, {302, 0}, {0, 0}, {-301, 0}, {301, 5}, {301, 0xFFFFFFFFu}, {301, 0x80000000u}, {300, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "group " << c.group << " index " << c.index);
        DescriptionBuffers out;
        EXPECT_EQ(out.Describe(c.group, c.index), 0);
        EXPECT_TRUE(out.Untouched());
    }
}

TEST(ParameterCatalogue, ListsEveryEntryOfEveryKey) {
    for (const auto& parameter : iwv::expected::Parameters()) {
        for (std::uint32_t index = 0; index < parameter.values.size(); ++index) {
            SCOPED_TRACE(parameter.key + " " + std::to_string(index));
            HostBuffer entry;
            EXPECT_EQ(HSTDLLTekstListyParametru(parameter.key.c_str(), index, entry.data()), 1);
            EXPECT_EQ(entry.Text(), parameter.values[index]);
            EXPECT_TRUE(entry.UntouchedAfterText());
        }
    }
}

TEST(ParameterCatalogue, DefaultIsAnEntryOfItsList) {
    const auto& parameters = iwv::expected::Parameters();
    for (std::uint32_t index = 0; index < parameters.size(); ++index) {
        SCOPED_TRACE(parameters[index].key);
        DescriptionBuffers out;
        ASSERT_EQ(out.Describe(301, index), 2);
        HostBuffer entry;
        ASSERT_EQ(HSTDLLTekstListyParametru(parameters[index].key.c_str(),
                                            static_cast<std::uint32_t>(parameters[index].defaultIndex), entry.data()),
                  1);
        EXPECT_EQ(out.buffers[2].Text(), entry.Text());
    }
}

TEST(ParameterCatalogue, IndexPastTheListLeavesBufferUntouched) {
    for (const auto& parameter : iwv::expected::Parameters()) {
        const std::uint32_t pastEnd[] = {static_cast<std::uint32_t>(parameter.values.size()), 0xFFFFFFFFu,
                                         0x80000000u};
        for (std::uint32_t index : pastEnd) {
            SCOPED_TRACE(parameter.key + " " + std::to_string(index));
            HostBuffer entry;
            EXPECT_EQ(HSTDLLTekstListyParametru(parameter.key.c_str(), index, entry.data()), 0);
            EXPECT_TRUE(entry.Untouched());
        }
    }
}

TEST(ParameterCatalogue, KeysMatchOnlyExactly) {
    const char* const foreignKeys[] = {"Port", "PORT", "BAUD", "Cena", "port ", " port", "por", "portx",
                                       "", "dlugość", "Prędkość", "COM1"};
    for (const char* key : foreignKeys) {
        SCOPED_TRACE(key);
        HostBuffer entry;
        EXPECT_EQ(HSTDLLTekstListyParametru(key, 0, entry.data()), 0);
        EXPECT_TRUE(entry.Untouched());
    }
}

TEST(ParameterCatalogue, NullPointersFromTheHostAreNeverWrittenOrRead) {
    HostBuffer entry;
    EXPECT_EQ(HSTDLLTekstListyParametru(nullptr, 0, entry.data()), 0);
    EXPECT_TRUE(entry.Untouched());
    EXPECT_EQ(HSTDLLTekstListyParametru("port", 0, nullptr), 1);

    HostBuffer key;
    HostBuffer fifth;
    EXPECT_EQ(HSTDLLParametr(301, 3, key.data(), nullptr, nullptr, nullptr, fifth.data(), 0), 2);
    EXPECT_EQ(key.Text(), "dlugosc");
    EXPECT_EQ(fifth.Text(), "");
}

}  // namespace

namespace {

// What a value text resolves to, read back from the settings: the code it
// appends to the export's command line, or the number it sets.
std::string ResolvedAs(const std::string& key, const std::string& value) {
    const iwv::DriverSettings base = iwv::DefaultDriverSettings(iwv::DriverKind::Export);
    const iwv::DriverSettings settings = iwv::ResolveDriverSettings(
        iwv::DriverKind::Export, [&](const char* asked) { return asked == key ? value : std::string(); });
    if (settings.CommandLine != base.CommandLine) return settings.CommandLine.substr(base.CommandLine.size());
    if (key == "timeout") return std::to_string(settings.TimeoutTicks);
    if (key == "dlugosc") return std::to_string(settings.NameLength);
    return std::to_string(settings.PriceLevel);
}

// The host is offered exactly the texts the library understands: every entry
// the catalogue lists resolves to its own setting, so a value added to the
// table is both offered and understood, and no listed value is ignored.
TEST(ParameterCatalogue, EveryListedValueIsOneTheLibraryResolves) {
    for (const iwv::Parameter& parameter : iwv::Parameters()) {
        const std::string key(parameter.key);
        std::uint32_t index = 0;
        for (const iwv::ParameterValue& entry : parameter) {
            SCOPED_TRACE(key + " " + std::string(entry.text));
            HostBuffer listed;
            ASSERT_EQ(HSTDLLTekstListyParametru(key.c_str(), index++, listed.data()), 1);
            const std::string expected = entry.code.empty() ? std::to_string(entry.number) : std::string(entry.code);
            EXPECT_EQ(ResolvedAs(key, listed.Text()), expected);
        }
        HostBuffer past;
        EXPECT_EQ(HSTDLLTekstListyParametru(key.c_str(), index, past.data()), 0) << key;
    }
}

}  // namespace
