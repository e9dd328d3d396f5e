#include "platform/FileSystem.h"

#include <windows.h>

#include <cstdio>
#include <random>
#include <vector>

#include "platform/BackgroundFlush.h"
#include "platform/InputFile.h"
#include "platform/WinHandle.h"

namespace iwv::platform {
namespace {

// The directory part of path with its separator (C:\Shop\ or C: or the
// empty text for the current directory), ready for a name to follow.
std::string DirectoryOf(const std::string& path) {
    const std::size_t end = path.find_last_of("\\/:");
    return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

bool WriteWhole(HANDLE file, const char* data, std::size_t size) {
    while (size > 0) {
        const DWORD part = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(file, data, part, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

// Wine's ReplaceFileA refuses relative paths (error 267).
std::string FullPath(const std::string& path) {
    char full[MAX_PATH];
    const DWORD length = ::GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? std::string(full, length) : path;
}

// Hands what is left of input to write(data, size), a block at a time;
// false when a read or a write fails.
template <typename Write>
bool CopyRest(InputFile& input, Write write) {
    std::vector<char> block(InputFile::kBlockBytes);
    std::size_t read = 0;
    bool copied = true;
    while (copied && (copied = input.Read(block.data(), block.size(), read)) && read > 0)
        copied = write(block.data(), read);
    return copied;
}

class WindowsInPlaceFile final : public InPlaceFile {
public:
    explicit WindowsInPlaceFile(HANDLE handle) : handle_(handle) {}

    bool Size(std::uint64_t& size) override {
        LARGE_INTEGER length{};
        if (!::GetFileSizeEx(handle_.Get(), &length)) return false;
        size = static_cast<std::uint64_t>(length.QuadPart);
        return true;
    }
    bool SetLength(std::uint64_t size) override {
        LARGE_INTEGER at{};
        LARGE_INTEGER end{};
        end.QuadPart = static_cast<LONGLONG>(size);
        return ::SetFilePointerEx(handle_.Get(), LARGE_INTEGER{}, &at, FILE_CURRENT) &&
               ::SetFilePointerEx(handle_.Get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(handle_.Get()) &&
               ::SetFilePointerEx(handle_.Get(), at, nullptr, FILE_BEGIN);
    }
    bool Write(const char* data, std::size_t size) override { return WriteWhole(handle_.Get(), data, size); }
    bool Close() override { return ::FlushFileBuffers(handle_.Get()) && handle_.Close(); }

private:
    WinHandle handle_;
};

// True when someone holds the file open without letting it be deleted, as a
// host showing its count file may: it cannot be replaced then, only written.
bool HeldAgainstDeletion(const std::string& path) {
    WinHandle probe(::CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    return !probe.Valid() && ::GetLastError() == ERROR_SHARING_VIOLATION;
}

// Copies the whole of from, size bytes, over the start of to and cuts to
// there, in the same file, so that whoever holds it open keeps a valid
// handle. The file takes its new length before any byte of it changes, so
// that a disk without room for the new count refuses while the old one is
// still whole; touched says whether the file may have changed.
ReplacementFile::Status OverwriteInPlace(const std::string& from, std::uint64_t size, InPlaceFile* to,
                                         bool& touched) {
    touched = false;
    const std::unique_ptr<InputFile> source = InputFile::Open(from);
    if (!source || to == nullptr) return ReplacementFile::Status::CannotCreate;
    std::uint64_t length = 0;
    if (!to->Size(length) || (size > length && !to->SetLength(size))) return ReplacementFile::Status::CannotWrite;
    touched = true;
    const bool copied = CopyRest(*source, [to](const char* data, std::size_t bytes) { return to->Write(data, bytes); });
    if (!copied || !to->SetLength(size) || !to->Close()) return ReplacementFile::Status::CannotWrite;
    return ReplacementFile::Status::Ok;
}

class WindowsReplacementFile final : public ReplacementFile {
public:
    WindowsReplacementFile(std::string target, std::string temp, HANDLE handle, bool preserveTarget,
                           InPlaceFile::Opener writeInPlace)
        : target_(std::move(target)),
          temp_(std::move(temp)),
          handle_(handle),
          preserveTarget_(preserveTarget),
          writeInPlace_(std::move(writeInPlace)) {}

    ~WindowsReplacementFile() override {
        flush_.Finish();
        flushHandle_.Close();
        if (!committed_ && !keepCopy_) {
            handle_.Close();
            ::DeleteFileA(temp_.c_str());
        }
    }

    bool Write(const char* data, std::size_t size) override {
        if (!WriteWhole(handle_.Get(), data, size)) return false;
        written_ += size;
        flush_.Wrote(size);
        return true;
    }

    std::string KeptCopy() const override { return keepCopy_ ? temp_ : std::string(); }

    Status Commit() override {
        const bool flushed = flush_.Finish();
        flushHandle_.Close();
        if (!flushed || !::FlushFileBuffers(handle_.Get()) || !handle_.Close()) return Status::CannotWrite;
        const Status status = preserveTarget_ && ::GetFileAttributesA(target_.c_str()) != INVALID_FILE_ATTRIBUTES
                                  ? Replace()
                                  : Rename();
        committed_ = status == Status::Ok;
        return status;
    }

private:
    // On the flush thread, through a handle of its own: Windows carries out
    // the calls on one handle one at a time, so a flush through the writer's
    // would hold up its writes. Without that handle nothing is flushed early.
    bool FlushEarly() {
        if (!flushHandle_.Valid())
            flushHandle_ = WinHandle(::CreateFileA(temp_.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return !flushHandle_.Valid() || ::FlushFileBuffers(flushHandle_.Get());
    }

    Status Rename() const {
        return ::MoveFileExA(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                   ? Status::Ok
                   : Status::CannotCreate;
    }

    Status Replace() {
        // Trying anyway would fail the same way, and costs Wine a stray
        // temporary file beside the target.
        if (HeldAgainstDeletion(target_)) return WriteInPlace();
        if (::ReplaceFileA(FullPath(target_).c_str(), FullPath(temp_).c_str(), nullptr, REPLACEFILE_WRITE_THROUGH,
                           nullptr, nullptr))
            return Status::Ok;
        const DWORD error = ::GetLastError();
        if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
            // The old file may be gone already: the copy must then take its
            // place, and is never removed while it is the only count left.
            if (::GetFileAttributesA(target_.c_str()) == INVALID_FILE_ATTRIBUTES && Rename() == Status::Ok)
                return Status::Ok;
            keepCopy_ = true;
            return Status::CannotCreate;
        }
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED && error != ERROR_UNABLE_TO_REMOVE_REPLACED)
            return Status::CannotCreate;
        return WriteInPlace();
    }

    Status WriteInPlace() {
        const std::unique_ptr<InPlaceFile> target = writeInPlace_(target_);
        bool touched = false;
        const Status status = OverwriteInPlace(temp_, written_, target.get(), touched);
        // Written part-way, the target holds neither count: the complete copy
        // stays beside it for whoever mends it.
        if (status == Status::CannotWrite && touched) keepCopy_ = true;
        if (status == Status::Ok) ::DeleteFileA(temp_.c_str());
        return status;
    }

    std::string target_;
    std::string temp_;
    WinHandle handle_;
    bool preserveTarget_;
    InPlaceFile::Opener writeInPlace_;
    WinHandle flushHandle_;
    BackgroundFlush flush_{[this] { return FlushEarly(); }};
    std::uint64_t written_ = 0;
    bool committed_ = false;
    bool keepCopy_ = false;
};

ReplacementFile::Status OpenBeside(const std::string& target, std::unique_ptr<ReplacementFile>& file,
                                   bool preserveTarget, InPlaceFile::Opener writeInPlace);

}  // namespace

bool RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

bool PathExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool FileCanBeOpenedForReading(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

bool DirectoryExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryWritable(const std::string& path) {
    std::unique_ptr<ReplacementFile> probe;
    return ReplacementFile::Open(path + "\\iwvestra.probe", probe) == ReplacementFile::Status::Ok;
}

bool AppendToFile(const std::string& path, const char* data, std::size_t size) {
    WinHandle file(::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && WriteWhole(file.Get(), data, size) && ::FlushFileBuffers(file.Get()) && file.Close();
}

bool EmptyFile(const std::string& path) {
    WinHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && file.Close();
}

bool CopyToNewFile(const std::string& from, const std::string& to) {
    const std::unique_ptr<InputFile> input = InputFile::OpenShared(from);
    if (!input) return false;
    WinHandle file(::CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    const HANDLE handle = file.Get();
    if (CopyRest(*input, [handle](const char* data, std::size_t size) { return WriteWhole(handle, data, size); }) &&
        file.Close())
        return true;
    file.Close();
    ::DeleteFileA(to.c_str());
    return false;
}

bool FileSize(const std::string& path, std::uint64_t& size) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

bool RenameReplacing(const std::string& from, const std::string& to) {
    return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool MakeDirectory(const std::string& path) { return ::CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool RemoveEmptyDirectory(const std::string& path) { return ::RemoveDirectoryA(path.c_str()) != 0; }

std::vector<DirectoryEntry> ListDirectory(const std::string& path) {
    std::vector<DirectoryEntry> entries;
    WIN32_FIND_DATAA found{};
    const HANDLE search = ::FindFirstFileA((path + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return entries;
}

std::unique_ptr<InPlaceFile> InPlaceFile::Open(const std::string& path) {
    // The host's own sharing: it may go on reading and writing its handle.
    const HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<WindowsInPlaceFile>(handle);
}

ReplacementFile::Status ReplacementFile::Open(const std::string& target, std::unique_ptr<ReplacementFile>& file) {
    return OpenBeside(target, file, false, nullptr);
}

ReplacementFile::Status ReplacementFile::OpenPreservingTarget(const std::string& target,
                                                              std::unique_ptr<ReplacementFile>& file) {
    return OpenBeside(target, file, true, &InPlaceFile::Open);
}

ReplacementFile::Status ReplacementFile::OpenPreservingTargetWith(const std::string& target,
                                                                  std::unique_ptr<ReplacementFile>& file,
                                                                  InPlaceFile::Opener writeInPlace) {
    return OpenBeside(target, file, true, std::move(writeInPlace));
}

namespace {

ReplacementFile::Status OpenBeside(const std::string& target, std::unique_ptr<ReplacementFile>& file,
                                   bool preserveTarget, InPlaceFile::Opener writeInPlace) {
    using Status = ReplacementFile::Status;
    // The ANSI functions take no longer path; Wine's would take some, and the
    // library must not write where Windows cannot.
    if (target.size() >= MAX_PATH) return Status::CannotCreate;
    const DWORD attributes = ::GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return Status::CannotCreate;

    // The name is made here, not by GetTempFileNameA: that refuses every
    // directory of more than MAX_PATH - 14 characters, even where the target
    // itself fits, and Wine's does not check the length at all and writes past
    // the buffer. Seven characters fit beside nearly every target that fits.
    const std::string directory = DirectoryOf(target);
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char name[16];
        std::snprintf(name, sizeof name, "~iv%04X", static_cast<unsigned>(random() & 0xFFFFu));
        const std::string temp = directory + name;
        if (temp.size() >= MAX_PATH) return Status::CannotCreate;
        // Shared for writing with the handle that flushes it in the background.
        const HANDLE handle = ::CreateFileA(temp.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_FILE_EXISTS) continue;
        if (handle == INVALID_HANDLE_VALUE) return Status::CannotCreate;
        file = std::make_unique<WindowsReplacementFile>(target, temp, handle, preserveTarget, std::move(writeInPlace));
        return Status::Ok;
    }
    return Status::CannotCreate;
}

}  // namespace

}  // namespace iwv::platform
