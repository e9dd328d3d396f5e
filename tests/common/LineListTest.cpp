#include "common/LineList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "support/ErrorOf.h"
#include "common/Error.h"

namespace iwv {
namespace {

using platform::ReplacementFile;
using test::ErrorOf;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;
using namespace std::string_literals;

std::vector<std::string> LinesOf(const LineList& list) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < list.Count(); ++i) lines.emplace_back(list[i]);
    return lines;
}

struct LineEndCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

void PrintTo(const LineEndCase& c, std::ostream* out) { *out << testing::PrintToString(c.bytes); }

const LineEndCase kLineEnds[] = {
    {"CrLf", "a\r\nb\r\n", {"a", "b"}},
    {"LoneCr", "a\rb\r", {"a", "b"}},
    {"LoneLf", "a\nb\n", {"a", "b"}},
    {"LfCrIsTwoLineEnds", "a\n\rb", {"a", "", "b"}},
    {"CrCrLf", "a\r\r\nb", {"a", "", "b"}},
    {"MixedEnds", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
    {"LastLineWithoutEnd", "a\r\nb", {"a", "b"}},
    {"EndAtTheEndAddsNoLine", "a\r\n", {"a"}},
    {"EmptyLinesInsideKept", "a\r\n\r\n\r\nb\r\n", {"a", "", "", "b"}},
    {"OnlyALineEnd", "\r\n", {""}},
    {"NulEndsTheText", "a\r\nb\0c\r\nd\r\n"s, {"a", "b"}},
    {"NulFirst", "\0a\r\n"s, {}},
    {"NulAfterCr", "a\r\0\nb"s, {"a"}},
    {"EmptyFile", "", {}},
    {"BytesUnaltered", "\xA5\xB9\t \"x;y\" \x9C\xFF\r\n", {"\xA5\xB9\t \"x;y\" \x9C\xFF"}},
};

class LineEnds : public testing::TestWithParam<LineEndCase> {};

TEST_P(LineEnds, FromBytesSplitsLines) {
    EXPECT_EQ(LinesOf(LineList::FromBytes(GetParam().bytes)), GetParam().lines);
}

// Load compacts the lines inside the buffer it read: a path of its own.
TEST_P(LineEnds, LoadSplitsLines) {
    TempDir dir;
    WriteBytes(dir.File("in.txt"), GetParam().bytes);
    EXPECT_EQ(LinesOf(LineList::Load(dir.File("in.txt"))), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Table, LineEnds, testing::ValuesIn(kLineEnds),
                         [](const testing::TestParamInfo<LineEndCase>& info) { return info.param.name; });

TEST(LineList, LoadOfAManyLineFileKeepsEveryLine) {
    std::string bytes;
    std::vector<std::string> expected;
    for (int i = 0; i < 50000; ++i) {
        expected.push_back(i % 7 == 0 ? "" : "line " + std::to_string(i));
        bytes += expected.back() + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    }
    TempDir dir;
    WriteBytes(dir.File("in.txt"), bytes);
    EXPECT_EQ(LinesOf(LineList::Load(dir.File("in.txt"))), expected);
}

TEST(LineList, LoadOfAMissingFileNamesThePath) {
    TempDir dir;
    const std::string path = dir.File("missing.txt");
    EXPECT_EQ(ErrorOf([&] { LineList::Load(path); }), "Cannot open file " + path);
}

TEST(LineList, LoadOfADirectoryNamesThePath) {
    TempDir dir;
    const std::string path = dir.Path().string();
    EXPECT_EQ(ErrorOf([&] { LineList::Load(path); }), "Cannot open file " + path);
}

TEST(LineList, SaveEndsEveryLineWithCrLf) {
    LineList list;
    list.Append("a");
    list.Append("");
    list.Append("S\xF3l");
    TempDir dir;
    list.Save(dir.File("out.txt"));
    EXPECT_EQ(ReadBytes(dir.File("out.txt")), "a\r\n\r\nS\xF3l\r\n");
}

TEST(LineList, SaveOfAnEmptyListTruncatesToZeroBytes) {
    TempDir dir;
    WriteBytes(dir.File("out.txt"), "old content\r\n");
    LineList().Save(dir.File("out.txt"));
    EXPECT_EQ(ReadBytes(dir.File("out.txt")), "");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.txt"});
}

// Lines longer than the write buffer and many short ones around them.
TEST(LineList, SaveWritesLinesOfEveryLengthWhole) {
    LineList list;
    for (int i = 0; i < 3000; ++i) list.Append(std::string(static_cast<std::size_t>(i % 97), 'a' + i % 26));
    list.Append(std::string(200000, 'x'));
    list.Append("short");
    list.Append(std::string(65534, 'y'));
    list.Append(std::string(65535, 'z'));
    TempDir dir;
    list.Save(dir.File("out.txt"));
    const std::string saved = ReadBytes(dir.File("out.txt"));
    EXPECT_EQ(saved, list.ToBytes());
    EXPECT_EQ(LinesOf(LineList::FromBytes(saved)), LinesOf(list));
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

LineList LinesOfSomeChunks() {
    LineList list;
    for (int i = 0; i < 3000; ++i) list.Append("goods line " + std::to_string(i) + std::string(80, ';'));
    return list;
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

    const std::string message = ErrorOf([&] { LinesOfSomeChunks().Save(path, FailingAt(c.failingWrite)); });

    EXPECT_EQ(message, "Cannot write file " + path);
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

TEST(LineList, SaveIntoAMissingDirectoryNamesThePath) {
    TempDir dir;
    const std::string path = (dir.Path() / "missing" / "inwout.txt").string();
    EXPECT_EQ(ErrorOf([&] { LinesOfSomeChunks().Save(path); }), "Cannot create file " + path);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{});
}

TEST(LineList, SaveOverAReadOnlyFileLeavesIt) {
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

    EXPECT_EQ(ErrorOf([&] { LinesOfSomeChunks().Save(path); }), "Cannot create file " + path);
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"count.txt"});
}

}  // namespace
}  // namespace iwv
