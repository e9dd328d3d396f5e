#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"

namespace iwv::platform {
namespace {

using test::TempDir;
using test::WriteBytes;
TEST(RemoveFile, RemovesAnExistingFileOnly) {
    TempDir dir;
    WriteBytes(dir.File("inwin.txt"), "A,1\r\n");
    EXPECT_TRUE(RemoveFile(dir.File("inwin.txt")));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{});
    EXPECT_FALSE(RemoveFile(dir.File("inwin.txt")));
}

TEST(Directories, ExistAndWritable) {
    TempDir dir;
    WriteBytes(dir.File("file.txt"), "x");
    EXPECT_TRUE(DirectoryExists(dir.Path().string()));
    EXPECT_FALSE(DirectoryExists(dir.File("file.txt")));
    EXPECT_FALSE(DirectoryExists(dir.File("missing")));
    EXPECT_TRUE(DirectoryWritable(dir.Path().string()));
    EXPECT_FALSE(DirectoryWritable(dir.File("missing")));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"file.txt"});
}

TEST(ReplacementFile, CannotOpenInAMissingDirectoryOrOverADirectory) {
    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "sub");
    std::unique_ptr<ReplacementFile> file;
    EXPECT_EQ(ReplacementFile::Open((dir.Path() / "missing" / "out.txt").string(), file),
              ReplacementFile::Status::CannotCreate);
    EXPECT_EQ(ReplacementFile::Open(dir.File("sub"), file), ReplacementFile::Status::CannotCreate);
    EXPECT_EQ(file, nullptr);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"sub"});
}

}  // namespace
}  // namespace iwv::platform
