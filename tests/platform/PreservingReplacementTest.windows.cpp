// The host's count file is archived and replaced, and still gets the new
// count while the host holds it open the way a program showing the previous
// count does, with no file of ours or of the system left beside it.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "platform/FileSystem.h"

namespace iwv::platform {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

constexpr char kOldCount[] = "INW;1;1000\r\nINW;2;2000\r\nINW;3;3000\r\n";
constexpr char kNewCount[] = "INW;77;1500\r\n";

struct HeldCase {
    const char* name;
    bool held;
    DWORD access;
    DWORD sharing;
    bool archived;  // a copy of the old count can be made first
    bool replaced;
};

// Held with reading and writing shared but not deletion, the file cannot be
// replaced and is written over in place, shorter than it was; held against
// writers, it keeps its old count. Whoever lets it be read lets it be copied
// to the archive first.
const HeldCase kHeldCases[] = {
    {"Free", false, 0, 0, true, true},
    {"HeldForReadingAndWriting", true, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, true, true},
    {"HeldAgainstWriters", true, GENERIC_READ, FILE_SHARE_READ, true, false},
    {"HeldAgainstEveryone", true, GENERIC_READ | GENERIC_WRITE, 0, false, false},
};

ReplacementFile::Status ReplaceWith(const std::string& target, const std::string& bytes) {
    std::unique_ptr<ReplacementFile> file;
    const ReplacementFile::Status opened = ReplacementFile::OpenPreservingTarget(target, file);
    if (opened != ReplacementFile::Status::Ok) return opened;
    if (!file->Write(bytes.data(), bytes.size())) return ReplacementFile::Status::CannotWrite;
    return file->Commit();
}

void PrintTo(const HeldCase& c, std::ostream* out) { *out << c.name; }

class PreservingReplacement : public testing::TestWithParam<HeldCase> {};

TEST_P(PreservingReplacement, GivesTheNewCountOrKeepsTheOldAndLeavesNothingBeside) {
    const HeldCase& c = GetParam();
    TempDir dir;
    const std::string target = dir.File("remanent.txt");
    WriteBytes(target, kOldCount);
    const HANDLE held = c.held ? ::CreateFileA(target.c_str(), c.access, c.sharing, nullptr, OPEN_EXISTING, 0, nullptr)
                               : INVALID_HANDLE_VALUE;
    ASSERT_EQ(c.held, held != INVALID_HANDLE_VALUE);
    const bool archived = CopyToNewFile(target, dir.File("archived.txt"));
    EXPECT_EQ(archived, c.archived);
    if (archived) {
        EXPECT_EQ(ReadBytes(dir.File("archived.txt")), kOldCount);
    }
    ::DeleteFileA(dir.File("archived.txt").c_str());
    const ReplacementFile::Status status = ReplaceWith(target, kNewCount);
    if (c.held) ::CloseHandle(held);
    EXPECT_EQ(status == ReplacementFile::Status::Ok, c.replaced);
    EXPECT_EQ(ReadBytes(target), c.replaced ? kNewCount : kOldCount);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"remanent.txt"});
}

INSTANTIATE_TEST_SUITE_P(Table, PreservingReplacement, testing::ValuesIn(kHeldCases),
                         [](const testing::TestParamInfo<HeldCase>& info) { return info.param.name; });

// A held file as if it lay on a disk with room bytes free: growing it takes
// room, shrinking it gives room back, and a write past the room gets in what
// fits and fails. After failAfter bytes every write fails, room or not, as on
// a drive that gives up.
class SmallDiskFile final : public InPlaceFile {
public:
    SmallDiskFile(std::unique_ptr<InPlaceFile> real, std::uint64_t room, std::uint64_t failAfter)
        : real_(std::move(real)), room_(room), failAfter_(failAfter) {
        real_->Size(length_);
    }
    bool Size(std::uint64_t& size) override { return real_->Size(size); }
    bool SetLength(std::uint64_t size) override {
        if (size > length_ && size - length_ > room_) return false;
        room_ = room_ + length_ - size;
        length_ = size;
        return real_->SetLength(size);
    }
    bool Write(const char* data, std::size_t size) override {
        std::uint64_t fits = std::min<std::uint64_t>(size, failAfter_ - written_);
        if (at_ + fits > length_ + room_) fits = length_ + room_ - at_;
        if (fits > 0 && !real_->Write(data, static_cast<std::size_t>(fits))) return false;
        written_ += fits;
        at_ += fits;
        if (at_ > length_) {
            room_ -= at_ - length_;
            length_ = at_;
        }
        return fits == size;
    }
    bool Close() override { return real_->Close(); }

private:
    std::unique_ptr<InPlaceFile> real_;
    std::uint64_t room_;
    std::uint64_t failAfter_;
    std::uint64_t length_ = 0;
    std::uint64_t at_ = 0;
    std::uint64_t written_ = 0;
};

std::string Count(int lines, const char* quantity) {
    std::string count;
    for (int i = 0; i < lines; ++i) count += "INW;59" + std::to_string(100000 + i) + ";" + quantity + "\r\n";
    return count;
}

constexpr std::uint64_t kUnlimited = std::numeric_limits<std::uint64_t>::max() / 2;

struct InPlaceFailureCase {
    const char* name;
    std::uint64_t room;
    std::uint64_t failAfter;
    bool keepsOldCount;  // otherwise the complete new one is kept beside it
};

// A held count file that is written over in place takes its new length
// first, so that a disk without room for it refuses before a byte changes.
// A write that still fails part-way keeps the complete new count beside the
// file, and says where.
const InPlaceFailureCase kInPlaceFailureCases[] = {
    {"FullDiskChangesNoByte", 16 * 1024, kUnlimited, true},
    {"WriteFailingPartWayKeepsTheNewCountBeside", kUnlimited, 20 * 1024, false},
};

void PrintTo(const InPlaceFailureCase& c, std::ostream* out) { *out << c.name; }

class PreservingReplacementInPlace : public testing::TestWithParam<InPlaceFailureCase> {};

TEST_P(PreservingReplacementInPlace, NeverLeavesACutOffCountUnsaid) {
    const InPlaceFailureCase& c = GetParam();
    TempDir dir;
    const std::string target = dir.File("remanent.txt");
    const std::string oldCount = Count(700, "1000");
    const std::string newCount = Count(5000, "12500");
    WriteBytes(target, oldCount);
    const HANDLE held = ::CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::unique_ptr<ReplacementFile> file;
    ASSERT_EQ(ReplacementFile::OpenPreservingTargetWith(target, file,
                                                        [&](const std::string& path) -> std::unique_ptr<InPlaceFile> {
                                                            std::unique_ptr<InPlaceFile> real = InPlaceFile::Open(path);
                                                            if (!real) return nullptr;
                                                            return std::make_unique<SmallDiskFile>(
                                                                std::move(real), c.room, c.failAfter);
                                                        }),
              ReplacementFile::Status::Ok);
    ASSERT_TRUE(file->Write(newCount.data(), newCount.size()));

    EXPECT_EQ(file->Commit(), ReplacementFile::Status::CannotWrite);
    ::CloseHandle(held);
    const std::string left = ReadBytes(target);
    if (c.keepsOldCount) {
        EXPECT_TRUE(left == oldCount) << "the count file holds " << left.size() << " bytes, the old count "
                                      << oldCount.size() << ", the new one " << newCount.size();
        EXPECT_EQ(file->KeptCopy(), "");
        file.reset();
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"remanent.txt"});
    } else {
        const std::string kept = file->KeptCopy();
        file.reset();
        ASSERT_NE(kept, "");
        EXPECT_EQ(kept.substr(0, kept.find_last_of('\\') + 1), target.substr(0, target.find_last_of('\\') + 1));
        EXPECT_TRUE(ReadBytes(kept) == newCount) << "the copy beside it is not the complete new count";
        EXPECT_EQ(dir.Names().size(), 2u);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, PreservingReplacementInPlace, testing::ValuesIn(kInPlaceFailureCases),
                         [](const testing::TestParamInfo<InPlaceFailureCase>& info) { return info.param.name; });

}  // namespace
}  // namespace iwv::platform
