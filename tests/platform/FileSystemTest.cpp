#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "platform/InputFile.h"

namespace iwv::platform {
namespace {

using test::TempDir;
using test::ReadBytes;
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

TEST(CopyToNewFile, CopiesEveryBlockAndNeverOverwrites) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; bytes.size() < 2 * InputFile::kBlockBytes + 7; ++i) bytes += "INW;" + std::to_string(i) + ";1000\r\n";
    WriteBytes(dir.File("count.txt"), bytes);
    WriteBytes(dir.File("taken.txt"), "kept");
    EXPECT_TRUE(CopyToNewFile(dir.File("count.txt"), dir.File("copy.txt")));
    EXPECT_EQ(ReadBytes(dir.File("copy.txt")), bytes);
    EXPECT_FALSE(CopyToNewFile(dir.File("count.txt"), dir.File("taken.txt")));
    EXPECT_EQ(ReadBytes(dir.File("taken.txt")), "kept");
    EXPECT_FALSE(CopyToNewFile(dir.File("missing.txt"), dir.File("other.txt")));
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"copy.txt", "count.txt", "taken.txt"}));
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

// Enough megabytes that the file is flushed in the background as it is
// written, in writes of every size up to one block.
std::string ManyMegabytes() {
    std::string bytes;
    for (int i = 0; bytes.size() < (std::size_t{9} << 20) + 3; ++i) bytes += "INW;" + std::to_string(i) + ";1000\r\n";
    return bytes;
}

TEST(ReplacementFile, ReplacesTheTargetWithEveryByteOfALargeFileOnlyOnCommit) {
    const std::string bytes = ManyMegabytes();
    for (const bool commit : {false, true}) {
        TempDir dir;
        WriteBytes(dir.File("count.txt"), "old count");
        {
            std::unique_ptr<ReplacementFile> file;
            ASSERT_EQ(ReplacementFile::Open(dir.File("count.txt"), file), ReplacementFile::Status::Ok);
            for (std::size_t at = 0, size = 1; at < bytes.size(); at += size, size = size % InputFile::kBlockBytes + 4099) {
                size = std::min(size, bytes.size() - at);
                ASSERT_TRUE(file->Write(bytes.data() + at, size));
            }
            if (commit) {
                EXPECT_EQ(file->Commit(), ReplacementFile::Status::Ok);
            }
        }
        EXPECT_EQ(ReadBytes(dir.File("count.txt")) == bytes, commit) << "commit " << commit;
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"count.txt"}) << "commit " << commit;
    }
}

}  // namespace
}  // namespace iwv::platform
