// Paths at and past MAX_PATH, the limit of the ANSI functions the host uses;
// the library takes them through the wide ones.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "Conversions.h"
#include "HardeningSupport.h"
#include "TestFiles.h"

namespace iwv::test {
namespace {

// A directory made through the wide functions, which take longer paths than
// the ANSI ones, and removed the same way.
class LongDirectory {
public:
    LongDirectory(const TempDir& parent, std::size_t length) {
        path_ = parent.Path().string() + "\\";
        path_ += std::string(length - path_.size(), 'd');
        created_ = ::CreateDirectoryW(Wide().c_str(), nullptr) != 0;
    }
    ~LongDirectory() { ::RemoveDirectoryW(Wide().c_str()); }
    LongDirectory(const LongDirectory&) = delete;
    LongDirectory& operator=(const LongDirectory&) = delete;

    bool Created() const { return created_; }
    // A file inside, through the wide functions.
    std::string Read(const std::string& name) const {
        const HANDLE file = ::CreateFileW((Wide() + L"\\" + std::wstring(name.begin(), name.end())).c_str(),
                                          GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return "(cannot be read)";
        std::string bytes(4096, '\0');
        DWORD read = 0;
        ::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
        ::CloseHandle(file);
        bytes.resize(read);
        return bytes;
    }
    void Remove(const std::string& name) const {
        ::DeleteFileW((Wide() + L"\\" + std::wstring(name.begin(), name.end())).c_str());
    }
    const std::string& Path() const { return path_; }
    // The entries inside, hidden ones included.
    int Entries() const {
        WIN32_FIND_DATAW found;
        const HANDLE search = ::FindFirstFileW((Wide() + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return -1;
        int entries = 0;
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") ++entries;
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
        return entries;
    }

private:
    std::wstring Wide() const { return L"\\\\?\\" + std::wstring(path_.begin(), path_.end()); }

    std::string path_;
    bool created_ = false;
};

class HardeningLongPath : public testing::TestWithParam<const Conversion*> {};

TEST_P(HardeningLongPath, LongestPathTheHostCanNameIsWritten) {
    const Conversion& c = *GetParam();
    TempDir dir;
    const std::string input = Join(dir.Path(), "input.txt");
    WriteBytes(input, c.input);
    const std::string directory = dir.Path().string() + "\\";
    const std::string output = directory + std::string(MAX_PATH - 1 - directory.size() - 4, 'n') + ".txt";
    ASSERT_EQ(output.size(), static_cast<std::size_t>(MAX_PATH - 1));

    c.convert(input, output);

    EXPECT_EQ(ReadBytes(output), c.output);
    EXPECT_EQ(EntryCount(dir.Path()), 2u);
}

TEST_P(HardeningLongPath, NameLongerThanAFileSystemTakesIsAnErrorThatNamesIt) {
    const Conversion& c = *GetParam();
    TempDir dir;
    const std::string input = Join(dir.Path(), "input.txt");
    WriteBytes(input, c.input);
    const std::string overlong = Join(dir.Path(), std::string(MAX_PATH, 'n') + ".txt");

    EXPECT_EQ(ErrorOf([&] { c.convert(overlong, Join(dir.Path(), "out.txt")); }),
              "Cannot open file " + overlong);
    EXPECT_EQ(ErrorOf([&] { c.convert(input, overlong); }),
              "Cannot create file " + overlong);
    EXPECT_EQ(EntryCount(dir.Path()), 1u) << "no temporary file may be left";
}

// Directories the host made through the wide functions, some so long that
// the target itself reaches past MAX_PATH: every target is written, as the
// wide functions name it, and nothing else is left.
TEST_P(HardeningLongPath, DirectoryNearMaxPathWritesWhatFitsAndLeavesNothingElse) {
    const Conversion& c = *GetParam();
    TempDir dir;
    const std::string input = Join(dir.Path(), "input.txt");
    WriteBytes(input, c.input);
    for (const std::size_t length : {MAX_PATH - 20, MAX_PATH - 14, MAX_PATH - 13, MAX_PATH - 12, MAX_PATH - 10,
                                     MAX_PATH - 5, MAX_PATH - 1}) {
        const LongDirectory directory(dir, length);
        ASSERT_TRUE(directory.Created());
        const std::string output = directory.Path() + "\\" + c.outputName;
        SCOPED_TRACE(testing::Message() << "target of " << output.size() << " characters");

        c.convert(input, output);
        EXPECT_EQ(directory.Entries(), 1) << "no temporary file may be left";
        EXPECT_EQ(directory.Read(c.outputName), c.output);
        directory.Remove(c.outputName);
    }
}

INSTANTIATE_TEST_SUITE_P(, HardeningLongPath, testing::Values(&LookupConversion(), &CountConversion()),
                         [](const testing::TestParamInfo<const Conversion*>& info) { return info.param->name; });

}  // namespace
}  // namespace iwv::test
