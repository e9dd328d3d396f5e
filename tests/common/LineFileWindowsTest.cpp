// Share modes and attributes that only Windows has.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "support/ErrorOf.h"
#include "common/LineFileReader.h"
#include "common/LineFileWriter.h"

namespace iwv {
namespace {

using test::ErrorOf;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

class OpenHandle {
public:
    OpenHandle(const std::string& path, DWORD access, DWORD share)
        : handle_(::CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~OpenHandle() {
        if (Valid()) ::CloseHandle(handle_);
    }
    OpenHandle(const OpenHandle&) = delete;
    OpenHandle& operator=(const OpenHandle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

void WriteTwoLines(const std::string& path) {
    LineFileWriter writer(platform::SystemFileSystem(), {path});
    for (const char* line : {"new 1", "new 2"}) {
        writer.Append(line);
        writer.EndLine();
    }
    writer.Commit();
}

std::uint64_t LineCount(LineFileReader& reader) {
    WordSplitter fields;
    return reader.ForEachLine(fields, [] {});
}

TEST(LineFileWindows, ReaderRefusesAFileThatAnotherHandleWrites) {
    TempDir dir;
    const std::string path = dir.File("goods.txt");
    WriteBytes(path, "X;1;Mleko;100;120;1000\r\n");
    OpenHandle writer(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(writer.Valid());
    EXPECT_EQ(ErrorOf([&] { LineFileReader reader(platform::SystemFileSystem(), path); }), "Cannot open file " + path);
}

// Other readers share the file; writers are refused for as long as the
// reader is open, after its last line too.
TEST(LineFileWindows, ReaderSharesAFileWithReadersAndRefusesWritersUntilItCloses) {
    TempDir dir;
    const std::string path = dir.File("goods.txt");
    WriteBytes(path, "a\r\nb\r\n");
    OpenHandle otherReader(path, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(otherReader.Valid());
    {
        LineFileReader reader(platform::SystemFileSystem(), path);
        EXPECT_EQ(LineCount(reader), 2u);
        EXPECT_FALSE(OpenHandle(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE).Valid());
    }
    EXPECT_TRUE(OpenHandle(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE).Valid());
}

TEST(LineFileWindows, WriterOverAReadOnlyFileLeavesIt) {
    TempDir dir;
    const std::string path = dir.File("count.txt");
    WriteBytes(path, "old\r\n");
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string message = ErrorOf([&] { WriteTwoLines(path); });
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(message, "Cannot create file " + path);
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"count.txt"});
}

// A reader that does not allow deleting keeps the file from being replaced.
TEST(LineFileWindows, WriterOverAFileHeldOpenLeavesItAndNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.File("inwout.txt");
    WriteBytes(path, "old\r\n");
    {
        OpenHandle reader(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(reader.Valid());
        EXPECT_EQ(ErrorOf([&] { WriteTwoLines(path); }), "Cannot create file " + path);
    }
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"inwout.txt"});
}

}  // namespace
}  // namespace iwv
