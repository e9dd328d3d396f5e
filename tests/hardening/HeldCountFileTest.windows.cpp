// A host that keeps its count file open, sharing reading and writing but not
// deletion, still gets the new count: the file cannot be replaced, so it is
// written over in place, once the old count is in the archive.

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "HardeningSupport.h"
#include "StocktakeShop.h"

namespace iwv::test {
namespace {

TEST_F(HardeningStocktake, CountFileTheHostHoldsOpenGetsTheNewCount) {
    WriteBytes(Work() / "Data" / "remanent.txt", "INW;1;1000\r\nINW;2;2000\r\nINW;3;3000\r\n");
    WriteBytes(Work() / "terminal" / "counts.txt", "77,1.5\r\n");
    const HANDLE held = ::CreateFileA(CountPath().c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    const OperationResult result = host_->Import(CountPath(), 4);
    ::CloseHandle(held);

    ASSERT_FALSE(result.raised) << result.message;
    EXPECT_EQ(result.value, 1);
    EXPECT_EQ(ReadBytes(Work() / "Data" / "remanent.txt"), "INW;77;1500\r\n");
    EXPECT_EQ(EntryCount(Work() / "Data"), 1u) << "no copy left beside it";
    std::vector<std::filesystem::path> imports;
    for (const auto& entry : std::filesystem::directory_iterator(Work() / "archiwum")) imports.push_back(entry.path());
    ASSERT_EQ(imports.size(), 1u);
    EXPECT_EQ(ReadBytes(imports[0] / "remanent.txt"), "INW;1;1000\r\nINW;2;2000\r\nINW;3;3000\r\n");
    EXPECT_EQ(ReadBytes(imports[0] / "inwin.txt"), "77,1.5\r\n");
}

}  // namespace
}  // namespace iwv::test
