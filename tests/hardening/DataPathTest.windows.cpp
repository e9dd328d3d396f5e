// A data path without a backslash: the work directory is empty, so the lookup
// file goes to "\inwout.txt", the root of the current drive, and the driver is
// given an empty current directory, which the system refuses.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "HardeningSupport.h"
#include "support/PluginEntryPoints.h"
#include "TestFiles.h"
#include "common/Cp1250.h"
#include "resources/DriverSandbox.h"

namespace iwv::test {
namespace {

// Removes a file when it goes, whatever the test did.
struct RemovedAtEnd {
    std::string path;
    ~RemovedAtEnd() { ::DeleteFileA(path.c_str()); }
};

TEST(HardeningDataPath, WithoutBackslashWritesAtTheDriveRootAndTheDriverCannotStart) {
    DriverSandbox sandbox;
    TempDir dir;
    ASSERT_EQ(dir.Path().string().substr(0, 3), "C:\\") << "the scratch directory must be on C:, Wine's private drive";
    const std::string rootFile = "C:\\inwout.txt";
    ASSERT_EQ(::GetFileAttributesA(rootFile.c_str()), INVALID_FILE_ATTRIBUTES) << "left by someone else";
    const RemovedAtEnd cleanup{rootFile};
    WriteBytes(dir.Path() / "towary.txt", "X;590001;S\xF3l;95;129;3000\r\n");
    const CurrentDirectory current(dir.Path().string());
    ASSERT_TRUE(current.Changed());
    PluginEntryPoints plugin;
    RegisteredHost host(plugin);

    const OperationResult result = host.Export("towary.txt", 8);

    ASSERT_FALSE(result.raised) << result.message;
    EXPECT_EQ(result.value, 0);
    ASSERT_FALSE(host.Summary().empty());
    EXPECT_EQ(host.Summary().back(), "ReportError:" + std::string(Cp1250("Błąd uruchomienia driver'a (dlookup.exe).").view()));
    EXPECT_EQ(ReadBytes(rootFile), "S\xF3l,590001,3.000,0,1.29\r\n");
    EXPECT_FALSE(sandbox.Record().has_value()) << "the driver must not run";
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "driver-record.txt")) << "the driver must not run";
}

}  // namespace
}  // namespace iwv::test
