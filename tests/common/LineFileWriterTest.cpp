#include "common/LineFileWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "support/ErrorOf.h"

namespace iwv {
namespace {

using platform::ReplacementFile;
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
    LineFileWriter writer(path);
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
    LineFileWriter(dir.File("out.txt")).Commit();
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
    LineFileWriter writer(dir.File("out.txt"));
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
        LineFileWriter writer(path);
        WriteLines(writer, std::vector<std::string>(100000, "INW;A;1000"));
    }
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"count.txt"});
}

// Passes everything to the real replacement file except that write number
// failingWrite gets half its bytes through and fails, or Commit fails.
class FailingFile final : public ReplacementFile {
public:
    FailingFile(std::unique_ptr<ReplacementFile> real, int failingWrite)
        : real_(std::move(real)), failingWrite_(failingWrite) {}

    bool Write(const char* data, std::size_t size) override {
        if (++writes_ != failingWrite_) return real_->Write(data, size);
        real_->Write(data, size / 2);
        return false;
    }
    Status Commit() override { return failingWrite_ == 0 ? Status::CannotWrite : real_->Commit(); }

private:
    std::unique_ptr<ReplacementFile> real_;
    int failingWrite_;
    int writes_ = 0;
};

// failingWrite 0 makes the commit fail instead.
ReplacementFile::Opener FailingAt(int failingWrite) {
    return [failingWrite](const std::string& target, std::unique_ptr<ReplacementFile>& file) {
        std::unique_ptr<ReplacementFile> real;
        const ReplacementFile::Status status = ReplacementFile::Open(target, real);
        if (status == ReplacementFile::Status::Ok) file = std::make_unique<FailingFile>(std::move(real), failingWrite);
        return status;
    };
}

// Four and a half blocks' worth of lines: four blocks go to the file as
// they fill, the rest (write 5) at Commit.
void WriteSomeBlocks(const std::string& path, const ReplacementFile::Opener& open = &ReplacementFile::Open) {
    LineFileWriter writer(path, open);
    const std::string line = "goods line " + std::string(80, ';');
    for (std::size_t written = 0; written < 9 * LineFileWriter::kBlockBytes / 2; written += line.size() + 2) {
        writer.Append(line);
        writer.EndLine();
    }
    writer.Commit();
}

struct FailedSaveCase {
    const char* name;
    int failingWrite;
    bool oldFile;
};

void PrintTo(const FailedSaveCase& c, std::ostream* out) { *out << c.name; }

class FailedSave : public testing::TestWithParam<FailedSaveCase> {};

TEST_P(FailedSave, LeavesTheOldFileAndNoTemporaryFile) {
    const FailedSaveCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.File("inwout.txt");
    const std::string old = "old line 1\r\nold line 2\r\n";
    if (c.oldFile) WriteBytes(path, old);

    EXPECT_EQ(ErrorOf([&] { WriteSomeBlocks(path, FailingAt(c.failingWrite)); }), "Cannot write file " + path);
    if (c.oldFile) {
        EXPECT_EQ(ReadBytes(path), old);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"inwout.txt"});
    } else {
        EXPECT_EQ(dir.Names(), std::vector<std::string>{});
    }
}

INSTANTIATE_TEST_SUITE_P(Table, FailedSave,
                         testing::Values(FailedSaveCase{"FirstWrite", 1, true}, FailedSaveCase{"SecondWrite", 2, true},
                                         FailedSaveCase{"LastWrite", 5, true}, FailedSaveCase{"Commit", 0, true},
                                         FailedSaveCase{"WriteWithoutOldFile", 2, false},
                                         FailedSaveCase{"CommitWithoutOldFile", 0, false}),
                         [](const testing::TestParamInfo<FailedSaveCase>& info) { return info.param.name; });

TEST(LineFileWriter, IntoAMissingDirectoryNamesThePath) {
    TempDir dir;
    const std::string path = (dir.Path() / "missing" / "inwout.txt").string();
    EXPECT_EQ(ErrorOf([&] { WriteSomeBlocks(path); }), "Cannot create file " + path);
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

    EXPECT_EQ(ErrorOf([&] { WriteSomeBlocks(path); }), "Cannot create file " + path);
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"count.txt"});
}

}  // namespace
}  // namespace iwv
