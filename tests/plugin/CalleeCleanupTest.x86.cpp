// 32-bit Windows only: every entry point uses __stdcall, so the DLL, not the
// host, removes the arguments from the stack.
#include <array>

#include "plugin/HostBuffer.h"
#include "plugin/IwvestraDll.windows.h"
#include "plugin/StackCheckedCall.x86.h"

namespace {

using namespace iwv::test;
using Word = std::uint32_t;

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

}  // namespace
