#include "common/LineFileWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "support/ErrorOf.h"
#include "support/FaultyFileSystem.h"
#include "support/MemoryFileSystem.h"

namespace iwv {
namespace {

using test::ErrorOf;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

void WriteLines(LineFileWriter& writer, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        writer.Append(line);
        writer.EndLine();
    }
}

std::string FileImage(const std::vector<std::string>& lines) {
    std::string image;
    for (const std::string& line : lines) image += line + "\r\n";
    return image;
}

TEST(LineFileWriter, ReplacesTheTargetOnlyAtCommit) {
    TempDir dir;
    const std::string path = dir.File("count.txt");
    WriteBytes(path, "old\r\n");
    LineFileWriter writer(platform::SystemFileSystem(), {path});
    writer.Append("INW;");
    writer.Append('A');
    writer.Append(";1000");
    writer.EndLine();
    writer.EndLine();
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    writer.Commit();
    EXPECT_EQ(ReadBytes(path), "INW;A;1000\r\n\r\n");
    EXPECT_EQ(writer.Lines(), 2u);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"count.txt"});
}

TEST(LineFileWriter, WithoutLinesTruncatesToZeroBytes) {
    TempDir dir;
    WriteBytes(dir.File("out.txt"), "old content\r\n");
    LineFileWriter(platform::SystemFileSystem(), {dir.File("out.txt")}).Commit();
    EXPECT_EQ(ReadBytes(dir.File("out.txt")), "");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.txt"});
}

// Lines longer than the block and many short ones around them, built in
// pieces of every size.
TEST(LineFileWriter, WritesLinesOfEveryLengthWhole) {
    constexpr std::size_t kBlock = LineFileWriter::kBlockBytes;
    std::vector<std::string> lines;
    for (int i = 0; i < 3000; ++i) lines.push_back(std::string(static_cast<std::size_t>(i % 97), 'a' + i % 26));
    for (std::size_t length : {kBlock * 3 + 5, std::size_t{5}, kBlock - 2, kBlock - 1, kBlock, kBlock + 1})
        lines.push_back(std::string(length, 'x'));
    TempDir dir;
    LineFileWriter writer(platform::SystemFileSystem(), {dir.File("out.txt")});
    for (const std::string& line : lines) {
        for (std::size_t at = 0, piece = 1; at < line.size(); at += piece, piece = piece * 3 + 1)
            writer.Append(std::string_view(line).substr(at, piece));
        writer.EndLine();
    }
    writer.Commit();
    EXPECT_TRUE(ReadBytes(dir.File("out.txt")) == FileImage(lines));
}

TEST(LineFileWriter, DroppedWithoutCommitLeavesTheTargetAndNoOtherFile) {
    TempDir dir;
    const std::string path = dir.File("count.txt");
    WriteBytes(path, "old\r\n");
    {
        LineFileWriter writer(platform::SystemFileSystem(), {path});
        WriteLines(writer, std::vector<std::string>(100000, "INW;A;1000"));
    }
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"count.txt"});
}

// Four and a half blocks' worth of lines: four blocks go to the file as
// they fill, the rest at Commit.
void WriteSomeBlocks(platform::FileSystem& files, const std::string& path) {
    LineFileWriter writer(files, {path});
    const std::string line = "goods line " + std::string(80, ';');
    for (std::size_t written = 0; written < 9 * LineFileWriter::kBlockBytes / 2; written += line.size() + 2) {
        writer.Append(line);
        writer.EndLine();
    }
    writer.Commit();
}

// Every call the writer makes fails in turn: the old file stays as it was
// (or the new one is whole), and no other file is left unless the failing
// call was the one removing it.
TEST(LineFileWriter, WithAnyCallFailingLeavesTheOldFileOrTheWholeNewOne) {
    const std::string path = "C:\\Sklep\\inwout.txt";
    const std::string old = "old line 1\r\nold line 2\r\n";
    test::MemoryFileSystem counting;
    counting.Put(path, old);
    test::FaultyFileSystem countingFiles(counting);
    WriteSomeBlocks(countingFiles, path);
    const std::string whole = *counting.Get(path);
    for (std::size_t point = 1; point <= countingFiles.Calls(); ++point) {
        test::MemoryFileSystem disk;
        disk.Put(path, old);
        test::FaultyFileSystem files(disk);
        files.FailAt(point);
        SCOPED_TRACE(files.Hit());
        try {
            WriteSomeBlocks(files, path);
            EXPECT_EQ(disk.Get(path), whole);
        } catch (const Error& error) {
            EXPECT_TRUE(disk.Get(path) == old || disk.Get(path) == whole) << error.Message();
        }
        if (files.Hit().rfind("Remove", 0) != 0) {
            EXPECT_EQ(disk.FilesUnder("C:\\Sklep").size(), 1u);
        }
    }
}

// Room for a line is bounded: one too long for it is refused, never written
// past the block.
TEST(LineFileWriter, RefusesRoomForALineLongerThanItHas) {
    TempDir dir;
    LineFileWriter writer(platform::SystemFileSystem(), {dir.File("out.txt")});
    EXPECT_NE(writer.Reserve(LineFileWriter::kLongestLine), nullptr);
    EXPECT_EQ(ErrorOf([&] { writer.Reserve(LineFileWriter::kLongestLine + 1); }),
              "Cannot write file " + dir.File("out.txt"));
}

TEST(LineFileWriter, IntoAMissingDirectoryNamesThePath) {
    TempDir dir;
    const std::string path = (dir.Path() / "missing" / "inwout.txt").string();
    EXPECT_EQ(ErrorOf([&] { WriteSomeBlocks(platform::SystemFileSystem(), path); }), "Cannot create file " + path);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{});
}

TEST(LineFileWriter, OverAReadOnlyFileLeavesIt) {
    namespace fs = std::filesystem;
    TempDir dir;
    const std::string path = dir.File("count.txt");
    WriteBytes(path, "old\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    struct RestoreWritable {
        std::string path;
        ~RestoreWritable() { fs::permissions(path, fs::perms::owner_write, fs::perm_options::add); }
    } restore{path};
    if (std::ofstream(path, std::ios::app))
        GTEST_SKIP() << "write permission is not enforced here (running as root)";

    EXPECT_EQ(ErrorOf([&] { WriteSomeBlocks(platform::SystemFileSystem(), path); }), "Cannot create file " + path);
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"count.txt"});
}

}  // namespace
}  // namespace iwv
