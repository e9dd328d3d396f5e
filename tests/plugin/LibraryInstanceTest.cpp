#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "IWVestra.h"
#include "host/HostCallbacks.h"
#include "support/PluginEntryPoints.h"
#include "support/RecordingHost.h"

namespace {

using iwv::test::OperationResult;
using iwv::test::PluginEntryPoints;
using iwv::test::RecordingHost;

struct ReleaseInstance {
    void operator()(IWVestraInstance* instance) const { HSTDLLZwolnijBiblioteke(instance); }
};
using Instance = std::unique_ptr<IWVestraInstance, ReleaseInstance>;

Instance Register(IWV_WORD hostContext) {
    return Instance(HSTDLLRejestrujBiblioteke(hostContext, 0xAAAA, 0xBBBB, 0xCCCC));
}

template <typename Function>
void* Address(Function function) {
    return reinterpret_cast<void*>(function);
}

// What the library keeps behind the host's opaque handle.
const iwv::LibraryInstance& Fields(const Instance& instance) {
    return *reinterpret_cast<const iwv::LibraryInstance*>(instance.get());
}

void RegisterAll(IWVestraInstance* instance) {
    HSTDLLRejestrujCallback(instance, Address(&RecordingHost::ShowStatus), IWV_CALLBACK_SHOW_STATUS);
    HSTDLLRejestrujCallback(instance, Address(&RecordingHost::GetParameterValue), IWV_CALLBACK_GET_PARAMETER_VALUE);
    HSTDLLRejestrujCallback(instance, Address(&RecordingHost::ReportError), IWV_CALLBACK_REPORT_ERROR);
}

int IWV_CALL OtherGetParameterValue(IWV_WORD, IWV_WORD, const char*, char*) { return 0; }
int IWV_CALL OtherText(IWV_WORD, IWV_WORD, const char*) { return 0; }

TEST(LibraryInstance, TypeIsThreeBeforeDuringAndAfterInstances) {
    EXPECT_EQ(HSTDLLTypBiblioteki(), 3);
    auto instance = Register(1);
    EXPECT_EQ(HSTDLLTypBiblioteki(), 3);
    instance.reset();
    EXPECT_EQ(HSTDLLTypBiblioteki(), 3);
}

TEST(LibraryInstance, NewInstanceKeepsOnlyTheFirstWordAndHasNoCallbacks) {
    auto instance = Register(0xFEEDBEEF);
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(Fields(instance).HostContext, 0xFEEDBEEFu);
    EXPECT_EQ(Fields(instance).ShowStatus, nullptr);
    EXPECT_EQ(Fields(instance).GetParameterValue, nullptr);
    EXPECT_EQ(Fields(instance).ReportError, nullptr);
}

TEST(LibraryInstance, EachKindFillsItsOwnField) {
    auto instance = Register(1);
    HSTDLLRejestrujCallback(instance.get(), Address(&RecordingHost::ReportError), 7);
    EXPECT_EQ(Fields(instance).ReportError, &RecordingHost::ReportError);
    EXPECT_EQ(Fields(instance).ShowStatus, nullptr);
    EXPECT_EQ(Fields(instance).GetParameterValue, nullptr);

    HSTDLLRejestrujCallback(instance.get(), Address(&RecordingHost::GetParameterValue), 6);
    HSTDLLRejestrujCallback(instance.get(), Address(&RecordingHost::ShowStatus), 2);
    EXPECT_EQ(Fields(instance).ShowStatus, &RecordingHost::ShowStatus);
    EXPECT_EQ(Fields(instance).GetParameterValue, &RecordingHost::GetParameterValue);
    EXPECT_EQ(Fields(instance).ReportError, &RecordingHost::ReportError);
}

TEST(LibraryInstance, OtherKindsChangeNothing) {
    auto instance = Register(1);
    RegisterAll(instance.get());
    for (std::int32_t kind : {0, 1, 3, 4, 5, 8, 9, -1, -2, -6, 258, 262, INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE(kind);
        HSTDLLRejestrujCallback(instance.get(), Address(&OtherText), kind);
        HSTDLLRejestrujCallback(instance.get(), nullptr, kind);
        EXPECT_EQ(Fields(instance).ShowStatus, &RecordingHost::ShowStatus);
        EXPECT_EQ(Fields(instance).GetParameterValue, &RecordingHost::GetParameterValue);
        EXPECT_EQ(Fields(instance).ReportError, &RecordingHost::ReportError);
        EXPECT_EQ(Fields(instance).HostContext, 1u);
    }
}

TEST(LibraryInstance, LaterRegistrationOfAKindReplacesTheEarlier) {
    auto instance = Register(1);
    RegisterAll(instance.get());
    HSTDLLRejestrujCallback(instance.get(), Address(&OtherGetParameterValue), 6);
    EXPECT_EQ(Fields(instance).GetParameterValue, &OtherGetParameterValue);
    EXPECT_EQ(Fields(instance).ShowStatus, &RecordingHost::ShowStatus);
    EXPECT_EQ(Fields(instance).ReportError, &RecordingHost::ReportError);
}

TEST(LibraryInstance, TwoInstancesKeepTheirOwnHostAndCallbacks) {
    RecordingHost first;
    RecordingHost second;
    auto a = Register(first.Context());
    auto b = Register(second.Context());
    RegisterAll(a.get());
    RegisterAll(b.get());
    HSTDLLRejestrujCallback(b.get(), Address(&OtherText), 2);

    iwv::HostCallbacks(Fields(a), 7).ShowStatus("to first");
    EXPECT_EQ(Fields(b).ShowStatus, &OtherText);
    iwv::HostCallbacks(Fields(b), 8).ReportError("to second");

    ASSERT_EQ(first.calls.size(), 1u);
    EXPECT_EQ(first.calls[0].text, "to first");
    EXPECT_EQ(first.calls[0].hostContext, first.Context());
    EXPECT_EQ(first.calls[0].callContext, 7u);
    ASSERT_EQ(second.calls.size(), 1u);
    EXPECT_EQ(second.calls[0].text, "to second");
    EXPECT_EQ(second.calls[0].hostContext, second.Context());
    EXPECT_EQ(second.calls[0].callContext, 8u);
}

TEST(LibraryInstance, NullInstanceIsIgnoredEverywhere) {
    HSTDLLZwolnijBiblioteke(nullptr);
    HSTDLLRejestrujCallback(nullptr, Address(&RecordingHost::ShowStatus), 2);
    EXPECT_EQ(HSTDLLInwEksportujTowary(nullptr, 1, "C:\\App\\Data\\goods.txt"), 0);
    EXPECT_EQ(HSTDLLInwImport(nullptr, 1, "C:\\App\\Data\\count.txt"), 0);
}

// Through the entry points as a host reaches them: on Windows the error
// leaves the DLL as a structured exception, which no C++ handler catches.
TEST(LibraryInstance, NullGoodsPathIsAFileThatCannotBeOpened) {
    PluginEntryPoints plugin;
    void* instance = plugin.Register(1);
    const OperationResult result = plugin.Export(instance, 1, nullptr);
    plugin.Free(instance);
    EXPECT_TRUE(IsLibraryError(result, "Cannot open file "));
}

TEST(ClearCount, ReturnsOneAfterAboutOneSecond) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(HSTDLLInwZeruj(0xDEAD, 0xBEEF), 1);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(990));
    // Generous: the machine is shared, but a second pause must not become two.
    EXPECT_LT(elapsed, std::chrono::milliseconds(1900));
}

}  // namespace
