#include <gtest/gtest.h>

#include <string>

#include "host/HostCallbacks.h"
#include "support/HostInstance.h"

namespace {

using iwv::test::InstanceOf;
using iwv::test::RecordingHost;

TEST(HostCallbacks, CallbacksReceiveBothContextsAndTheText) {
    RecordingHost host;
    host.answers["port"] = "COM2";
    const auto instance = InstanceOf(host);
    iwv::HostCallbacks callbacks(instance, 0x5EED);

    EXPECT_EQ(callbacks.GetParameterValue("port"), "COM2");
    callbacks.ShowStatus("status");
    callbacks.ReportError("error");

    ASSERT_EQ(host.calls.size(), 3u);
    const char* const names[] = {"GetParameterValue", "ShowStatus", "ReportError"};
    const char* const texts[] = {"port", "status", "error"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(host.calls[i].callback, names[i]);
        EXPECT_EQ(host.calls[i].hostContext, host.Context());
        EXPECT_EQ(host.calls[i].callContext, 0x5EEDu);
        EXPECT_EQ(host.calls[i].text, texts[i]);
    }
}

TEST(HostCallbacks, MissingCallbacksAreSkippedAndValuesAreEmpty) {
    const iwv::LibraryInstance instance;
    iwv::HostCallbacks callbacks(instance, 1);
    callbacks.ShowStatus("status");
    callbacks.ReportError("error");
    for (const char* key : {"port", "baud", "timeout", "dlugosc", "cena"})
        EXPECT_EQ(callbacks.GetParameterValue(key), "") << key;
}

TEST(HostCallbacks, MissingValueCallbackLeavesTheOthersWorking) {
    RecordingHost host;
    auto instance = InstanceOf(host);
    instance.GetParameterValue = nullptr;
    iwv::HostCallbacks callbacks(instance, 1);
    EXPECT_EQ(callbacks.GetParameterValue("port"), "");
    callbacks.ShowStatus("status");
    callbacks.ReportError("error");
    ASSERT_EQ(host.calls.size(), 2u);
    EXPECT_EQ(host.calls[0].callback, "ShowStatus");
    EXPECT_EQ(host.calls[1].callback, "ReportError");
}

TEST(HostCallbacks, ValueBufferHoldsTwoHundredNinetyNineBytesAndItsNul) {
    const struct {
        std::size_t written;
        bool nul;
        std::size_t expected;
    } cases[] = {
        {299, true, 299},   // the longest text that fits
        {300, false, 299},  // the whole buffer, no NUL: the last byte is lost
        {0, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.written << " bytes, NUL " << c.nul);
        RecordingHost host;
        host.answers["port"] = std::string(c.written, 'x');
        host.writesNul = c.nul;
        const auto instance = InstanceOf(host);
        iwv::HostCallbacks callbacks(instance, 1);
        EXPECT_EQ(callbacks.GetParameterValue("port"), std::string(c.expected, 'x'));
    }
}

TEST(HostCallbacks, HostWritingNothingGetsEmptyTextFirstAndThePreviousTextLater) {
    RecordingHost host;
    host.silentForOtherKeys = true;
    host.answers["baud"] = "19200";
    const auto instance = InstanceOf(host);
    iwv::HostCallbacks callbacks(instance, 1);
    EXPECT_EQ(callbacks.GetParameterValue("port"), "");
    EXPECT_EQ(callbacks.GetParameterValue("baud"), "19200");
    EXPECT_EQ(callbacks.GetParameterValue("timeout"), "19200");
}

}  // namespace
