// A shop PC as it is: a scanner that holds the terminal's count for a moment
// just after the driver left it, a work directory so deep that the archive
// reaches past MAX_PATH, and data one folder below a drive's root.

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "HardeningSupport.h"
#include "StocktakeShop.h"

namespace iwv::test {
namespace {

// A path as the wide functions take it however long it is.
std::wstring Long(const std::string& path) { return L"\\\\?\\" + std::wstring(path.begin(), path.end()); }

std::string ReadLong(const std::string& path) {
    const HANDLE file = ::CreateFileW(Long(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(cannot be read: " + std::to_string(::GetLastError()) + ")";
    std::string bytes(1 << 16, '\0');
    DWORD read = 0;
    ::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

TEST_F(HardeningStocktake, CountThatAScannerHoldsForAMomentIsWaitedForNeverTakenForNone) {
    WriteBytes(Work() / "terminal" / "counts.txt", "77,1.5\r\n");
    WriteBytes(Work() / "Data" / "remanent.txt", "INW;1;1000\r\n");
    std::atomic<bool> importing{true};
    std::atomic<bool> held{false};
    // Opens the driver's file without sharing the moment the driver has let
    // go of it, as an on-access scanner does, and keeps it for 1.5 s.
    std::thread scanner([&] {
        const std::string path = WorkPath("inwin.txt");
        while (importing && !held) {
            const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (file == INVALID_HANDLE_VALUE) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            held = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            ::CloseHandle(file);
        }
    });
    const OperationResult result = host_->Import(CountPath(), 5);
    importing = false;
    scanner.join();
    if (!held) GTEST_SKIP() << "the import read the count before the scanner could take it";

    ASSERT_FALSE(result.raised) << result.message;
    EXPECT_EQ(result.value, 1);
    EXPECT_EQ(ReadBytes(Work() / "Data" / "remanent.txt"), "INW;77;1500\r\n");
}

// A work directory of 227 characters holds a count file of 245, which the
// host names through the ANSI functions; the archive's folders and files go
// past MAX_PATH, and are written all the same.
TEST_F(HardeningStocktake, WorkDirectoryNearMaxPathArchivesEveryImport) {
    const std::string base = dir_.Path().string() + "\\";
    const std::string work = base + std::string(227 - base.size(), 'w');
    ASSERT_TRUE(std::filesystem::create_directories(work + "\\Dane"));
    std::filesystem::create_directories(work + "\\terminal");
    WriteBytes(work + "\\terminal\\counts.txt", "77,1.5\r\n");
    const std::string count = work + "\\Dane\\remanent.txt";
    ASSERT_EQ(count.size(), 245u);
    WriteBytes(count, "INW;1;1000\r\n");

    const OperationResult result = host_->Import(count, 6);

    ASSERT_FALSE(result.raised) << result.message;
    EXPECT_EQ(result.value, 1);
    EXPECT_EQ(ReadBytes(count), "INW;77;1500\r\n");
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(Long(work + "\\archiwum\\*_*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    ::FindClose(search);
    const std::wstring folder = found.cFileName;
    const std::string entry = work + "\\archiwum\\" + std::string(folder.begin(), folder.end());
    EXPECT_GT((entry + "\\remanent.txt").size(), static_cast<std::size_t>(MAX_PATH));
    EXPECT_EQ(ReadLong(entry + "\\remanent.txt"), "INW;1;1000\r\n");
    EXPECT_EQ(ReadLong(entry + "\\inwin.txt"), "77,1.5\r\n");
}

// The tests' Wine prefix maps drive T: to a folder of the build tree. Data
// at T:\DANE has the drive's root for its work directory, whatever the host's
// current folder on that drive: "T:" alone would be that folder, T:\SKLEP,
// where the driver would run and find an old lookup file, while the library
// wrote T:\inwout.txt.
TEST_F(HardeningStocktake, DataOneFolderBelowADrivesRootUsesThatRoot) {
    if (::GetFileAttributesA("T:\\") == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no drive T: in this Wine prefix";
    struct Cleanup {
        ~Cleanup() {
            std::error_code ignored;
            for (const char* name :
                 {"T:\\DANE", "T:\\SKLEP", "T:\\terminal", "T:\\archiwum", "T:\\iwvestra.log", "T:\\inwout.txt"})
                std::filesystem::remove_all(name, ignored);
        }
    } cleanup;
    std::filesystem::create_directories("T:\\DANE");
    std::filesystem::create_directories("T:\\terminal");
    WriteBytes("T:\\terminal\\counts.txt", "77,1.5\r\n");
    WriteBytes("T:\\DANE\\towary.txt", "X;77;Mleko;189;249;1000\r\n");
    std::filesystem::create_directories("T:\\SKLEP\\terminal");
    WriteBytes("T:\\SKLEP\\inwout.txt", "Stare,1,1.000,0,1.00\r\n");
    const CurrentDirectory host("T:\\SKLEP");
    ASSERT_TRUE(host.Changed());

    const OperationResult exported = host_->Export("T:\\DANE\\towary.txt", 7);
    const OperationResult imported = host_->Import("T:\\DANE\\remanent.txt", 8);

    ASSERT_FALSE(exported.raised) << exported.message;
    ASSERT_FALSE(imported.raised) << imported.message;
    EXPECT_EQ(exported.value, 1);
    EXPECT_EQ(ReadBytes("T:\\inwout.txt"), "Mleko,77,1.000,0,2.49\r\n");
    EXPECT_EQ(ReadBytes("T:\\terminal\\goods.txt"), "Mleko,77,1.000,0,2.49\r\n") << "the driver ran at T:\\";
    EXPECT_EQ(imported.value, 1);
    EXPECT_EQ(ReadBytes("T:\\DANE\\remanent.txt"), "INW;77;1500\r\n");
}

}  // namespace
}  // namespace iwv::test
