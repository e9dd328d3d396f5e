// The machine's own file system, as the library calls it, and the durable
// replacement and copy built on it.

#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "common/Error.h"
#include "common/FileCopy.h"
#include "common/ReplacementFile.h"
#include "support/ErrorOf.h"

namespace iwv::platform {
namespace {

using test::ErrorOf;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;
using Kind = SystemError::Kind;
using namespace std::string_literals;

FileSystem& Files() { return SystemFileSystem(); }

// Every failure names its kind and carries the system's own code and words.
TEST(SystemFileSystem, FailuresCarryTheSystemsCode) {
    TempDir dir;
    WriteBytes(dir.File("inwin.txt"), "A,1\r\n");
    std::unique_ptr<ReadableFile> file;
    const SystemError missing = Files().OpenForReading(dir.File("missing.txt"), FileSystem::Sharing::RefuseWriters, file);
    EXPECT_TRUE(missing.Is(Kind::NotFound));
    EXPECT_NE(missing.code, 0u);
    EXPECT_NE(SystemErrorText(missing.code), "");
    EXPECT_TRUE(Files().OpenForReading(dir.Path().string(), FileSystem::Sharing::RefuseWriters, file));
    std::unique_ptr<WritableFile> created;
    EXPECT_TRUE(Files().CreateNew(dir.File("inwin.txt"), created).Is(Kind::Exists));
    EXPECT_FALSE(Files().Remove(dir.File("inwin.txt")));
    EXPECT_TRUE(Files().Remove(dir.File("inwin.txt")).Is(Kind::NotFound));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{});
}

// Every byte, NUL and line ends included, in reads smaller than the file and
// not dividing it.
TEST(SystemFileSystem, ReadsEveryByteInOrderThenTheEnd) {
    std::string bytes = "a\0b\r\n\xA5\xFF"s;
    for (int i = 0; i < 20000; ++i) bytes += std::to_string(i);
    TempDir dir;
    WriteBytes(dir.File("in.bin"), bytes);
    std::unique_ptr<ReadableFile> file;
    ASSERT_FALSE(Files().OpenForReading(dir.File("in.bin"), FileSystem::Sharing::RefuseWriters, file));
    std::string read;
    char block[1000];
    for (std::size_t n = 1; n > 0;) {
        ASSERT_FALSE(file->Read(block, sizeof block, n));
        read.append(block, n);
    }
    EXPECT_EQ(read, bytes);
}

TEST(SystemFileSystem, StatusTellsFilesFromFolders) {
    TempDir dir;
    WriteBytes(dir.File("file.txt"), "xyz");
    FileStatus status;
    ASSERT_FALSE(Files().Status(dir.File("file.txt"), status));
    EXPECT_FALSE(status.directory);
    EXPECT_EQ(status.size, 3u);
    ASSERT_FALSE(Files().Status(dir.Path().string(), status));
    EXPECT_TRUE(status.directory);
    EXPECT_TRUE(Files().Status(dir.File("missing"), status).Is(Kind::NotFound));
}

// One holder at a time; the lock's file is there only while it is held.
TEST(SystemFileSystem, LockIsHeldByOneAtATime) {
    TempDir dir;
    const std::string path = dir.File("iwvestra.lock");
    std::unique_ptr<FileLock> first;
    std::unique_ptr<FileLock> second;
    ASSERT_FALSE(Files().Lock(path, first));
    EXPECT_TRUE(Files().Lock(path, second).Is(Kind::InUse));
    first.reset();
    EXPECT_EQ(dir.Names(), std::vector<std::string>{});
    EXPECT_FALSE(Files().Lock(path, second));
    EXPECT_TRUE(Files().Lock(dir.File("missing\\iwvestra.lock"), first).Is(Kind::NotFound));
}

TEST(CopyToNewFile, CopiesEveryBlockAndNeverOverwrites) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; bytes.size() < 2 * kFileBlockBytes + 7; ++i) bytes += "INW;" + std::to_string(i) + ";1000\r\n";
    WriteBytes(dir.File("count.txt"), bytes);
    WriteBytes(dir.File("taken.txt"), "kept");
    const auto copy = [&](const char* from, const char* to) {
        return CopyToNewFile(Files(), dir.File(from), dir.File(to), FileSystem::Sharing::AllowAll);
    };
    EXPECT_FALSE(copy("count.txt", "copy.txt"));
    EXPECT_EQ(ReadBytes(dir.File("copy.txt")), bytes);
    const CopyFailure taken = copy("count.txt", "taken.txt");
    EXPECT_TRUE(taken.error.Is(Kind::Exists) && !taken.reading);
    EXPECT_EQ(ReadBytes(dir.File("taken.txt")), "kept");
    const CopyFailure missing = copy("missing.txt", "other.txt");
    EXPECT_TRUE(missing.error.Is(Kind::NotFound) && missing.reading);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"copy.txt", "count.txt", "taken.txt"}));
}

TEST(ReplacementFile, CannotOpenInAMissingDirectoryOrOverADirectory) {
    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "sub");
    const std::string missing = (dir.Path() / "missing" / "out.txt").string();
    EXPECT_EQ(ErrorOf([&] { ReplacementFile(Files(), {missing}); }), "Cannot create file " + missing);
    EXPECT_EQ(ErrorOf([&] { ReplacementFile(Files(), {dir.File("sub")}); }), "Cannot create file " + dir.File("sub"));
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
    for (const bool hostsFile : {false, true}) {
        for (const bool commit : {false, true}) {
            TempDir dir;
            WriteBytes(dir.File("count.txt"), "old count");
            {
                ReplacementFile file(Files(), {dir.File("count.txt"), hostsFile});
                for (std::size_t at = 0, size = 1; at < bytes.size(); at += size, size = size % kFileBlockBytes + 4099) {
                    size = std::min(size, bytes.size() - at);
                    file.Write(bytes.data() + at, size);
                }
                if (commit) file.Commit();
            }
            EXPECT_EQ(ReadBytes(dir.File("count.txt")) == bytes, commit) << "commit " << commit;
            EXPECT_EQ(dir.Names(), std::vector<std::string>{"count.txt"}) << "commit " << commit;
        }
    }
}

}  // namespace
}  // namespace iwv::platform
