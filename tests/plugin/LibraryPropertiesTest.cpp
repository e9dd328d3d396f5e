#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "plugin/ExpectedTexts.h"
#include "plugin/HostBuffer.h"
#include "IWVestra.h"

namespace {

using iwv::test::HostBuffer;

std::string Property(std::int32_t code) {
    HostBuffer buffer;
    HSTDLLWlasciwosci(buffer.data(), code);
    return buffer.Text();
}

TEST(LibraryProperties, EveryCodeCopiesItsTextWithNulIntoTheBuffer) {
    for (const auto& property : iwv::expected::Properties()) {
        SCOPED_TRACE(property.code);
        HostBuffer buffer;
        EXPECT_EQ(HSTDLLWlasciwosci(buffer.data(), property.code), buffer.data());
        EXPECT_EQ(buffer.Text(), property.text);
        EXPECT_TRUE(buffer.UntouchedAfterText());
    }
}

TEST(LibraryProperties, NullBufferIsReturnedUnwritten) {
    EXPECT_EQ(HSTDLLWlasciwosci(nullptr, 302), nullptr);
    EXPECT_EQ(HSTDLLWlasciwosci(nullptr, 0), nullptr);
}

TEST(LibraryProperties, PromptsHaveTheirWindows1250Lengths) {
    EXPECT_EQ(Property(302).size(), 155u);
    EXPECT_EQ(Property(303).size(), 157u);
}

TEST(LibraryProperties, PromptsDifferOnlyAfterTheLastLineBreak) {
    const std::string importPrompt = Property(302);
    const std::string exportPrompt = Property(303);
    const auto lastBreak = importPrompt.rfind('\n');
    ASSERT_NE(lastBreak, std::string::npos);
    EXPECT_EQ(exportPrompt.rfind('\n'), lastBreak);
    EXPECT_EQ(importPrompt.substr(0, lastBreak + 1), exportPrompt.substr(0, lastBreak + 1));
    // Three single line feeds, two of them together before the last line.
    EXPECT_EQ(std::count(importPrompt.begin(), importPrompt.end(), '\n'), 3);
    EXPECT_EQ(importPrompt[lastBreak - 1], '\n');
    EXPECT_EQ(importPrompt.find('\r'), std::string::npos);
}

TEST(LibraryProperties, PolishLettersAreSingleWindows1250Bytes) {
    const std::string prompt = Property(303);
    const struct {
        std::size_t position;
        unsigned char byte;
        const char* letter;
    } letters[] = {
        {1, 0xB3, "ł"}, {2, 0xB9, "ą"}, {28, 0x9F, "ź"}, {65, 0xEA, "ę"},
        {75, 0x9C, "ś"}, {76, 0xE6, "ć"}, {135, 0xCA, "Ę"}, {146, 0xA3, "Ł"},
    };
    for (const auto& letter : letters) {
        SCOPED_TRACE(letter.letter);
        ASSERT_LT(letter.position, prompt.size());
        EXPECT_EQ(static_cast<unsigned char>(prompt[letter.position]), letter.byte);
    }
}

}  // namespace
