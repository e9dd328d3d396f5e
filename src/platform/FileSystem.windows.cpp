#include "platform/FileSystem.h"

#include <windows.h>

#include "platform/WinHandle.h"

namespace iwv::platform {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Past this length a path goes to the wide functions with the \\?\ prefix:
// CreateDirectoryW refuses longer plain paths, and the library's own folders
// may reach past MAX_PATH under a work directory that holds a count file.
constexpr std::size_t kLongPath = MAX_PATH - 12;

SystemError Ok() { return {}; }
SystemError Checked(BOOL succeeded) { return succeeded ? Ok() : LastSystemError(); }

std::wstring Widened(const std::string& text) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (length > 0) ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string Narrowed(const wchar_t* text) {
    const int length = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return std::string();
    std::string narrow(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], length, nullptr, nullptr);
    narrow.pop_back();
    return narrow;
}

std::wstring FullPath(const std::wstring& path) {
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), needed, &full[0], nullptr);
    full.resize(length < needed ? length : 0);
    return full.empty() ? path : full;
}

// A host's path (in the ANSI code page, as the host passes it) as the wide
// functions take it: as it is while it is short; absolute, and with the
// long-path prefix, once it is long.
std::wstring WidePath(const std::string& path, bool absolute = false) {
    const std::wstring wide = Widened(path);
    if (!absolute && wide.size() < kLongPath) return wide;
    const std::wstring full = FullPath(wide);
    if (full.size() < kLongPath || full.compare(0, 4, L"\\\\?\\") == 0) return full;
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

HANDLE Open(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags = FILE_ATTRIBUTE_NORMAL) {
    return ::CreateFileW(WidePath(path).c_str(), access, share, nullptr, disposition, flags, nullptr);
}

// A read at an offset moves the handle's own file pointer too, so every read
// names its offset and the file keeps its place itself.
class WindowsReadableFile final : public ReadableFile {
public:
    explicit WindowsReadableFile(HANDLE handle) : handle_(handle) {}

    SystemError Read(char* data, std::size_t capacity, std::size_t& read) override {
        const SystemError error = ReadAt(position_, data, capacity, read);
        if (!error) position_ += read;
        return error;
    }
    SystemError ReadAt(std::uint64_t offset, char* data, std::size_t capacity, std::size_t& read) override {
        const DWORD most = capacity > 0x40000000u ? 0x40000000u : static_cast<DWORD>(capacity);
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD got = 0;
        if (!::ReadFile(handle_.Get(), data, most, &got, &at) && ::GetLastError() != ERROR_HANDLE_EOF)
            return LastSystemError();
        read = got;
        return Ok();
    }

private:
    WinHandle handle_;
    std::uint64_t position_ = 0;
};

class WindowsWritableFile final : public WritableFile {
public:
    WindowsWritableFile(HANDLE handle, std::string path) : handle_(handle), path_(std::move(path)) {}

    SystemError Write(const char* data, std::size_t size) override {
        while (size > 0) {
            const DWORD part = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!::WriteFile(handle_.Get(), data, part, &written, nullptr)) return LastSystemError();
            if (written == 0) return {SystemError::Kind::DiskFull, ERROR_DISK_FULL};
            data += written;
            size -= written;
        }
        return Ok();
    }
    SystemError SetLength(std::uint64_t size) override {
        LARGE_INTEGER at{};
        LARGE_INTEGER end{};
        end.QuadPart = static_cast<LONGLONG>(size);
        if (!::SetFilePointerEx(handle_.Get(), LARGE_INTEGER{}, &at, FILE_CURRENT) ||
            !::SetFilePointerEx(handle_.Get(), end, nullptr, FILE_BEGIN))
            return LastSystemError();
        const SystemError error = Checked(::SetEndOfFile(handle_.Get()));
        ::SetFilePointerEx(handle_.Get(), at, nullptr, FILE_BEGIN);
        return error;
    }
    SystemError Flush() override { return Checked(::FlushFileBuffers(handle_.Get())); }
    // Windows carries out the calls on one handle one at a time, so a flush
    // through the writer's would hold up its writes: this one goes through a
    // handle of its own.
    SystemError FlushAside() override {
        if (!asideHandle_.Valid()) {
            asideHandle_ = WinHandle(Open(path_, GENERIC_WRITE, kShareAll, OPEN_EXISTING));
            if (!asideHandle_.Valid()) return LastSystemError();
        }
        return Checked(::FlushFileBuffers(asideHandle_.Get()));
    }
    SystemError Close() override {
        asideHandle_.Close();
        return Checked(handle_.Close());
    }

private:
    WinHandle handle_;
    std::string path_;
    WinHandle asideHandle_;
};

class WindowsFileLock final : public FileLock {
public:
    explicit WindowsFileLock(HANDLE handle) : handle_(handle) {}

private:
    WinHandle handle_;
};

SystemError OpenedFile(HANDLE handle, const std::string& path, std::unique_ptr<WritableFile>& file) {
    if (handle == INVALID_HANDLE_VALUE) return LastSystemError();
    file = std::make_unique<WindowsWritableFile>(handle, path);
    return Ok();
}

class WindowsFileSystem final : public FileSystem {
public:
    SystemError OpenForReading(const std::string& path, Sharing sharing, std::unique_ptr<ReadableFile>& file) override {
        const DWORD share = sharing == Sharing::RefuseWriters ? FILE_SHARE_READ : kShareAll;
        const HANDLE handle = Open(path, GENERIC_READ, share, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
        if (handle == INVALID_HANDLE_VALUE) return LastSystemError();
        file = std::make_unique<WindowsReadableFile>(handle);
        return Ok();
    }

    // Shared, so that its own flushing handle and readers may open it too.
    SystemError CreateNew(const std::string& path, std::unique_ptr<WritableFile>& file) override {
        return OpenedFile(Open(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, CREATE_NEW), path, file);
    }
    SystemError OpenForAppending(const std::string& path, std::unique_ptr<WritableFile>& file) override {
        return OpenedFile(Open(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS), path, file);
    }
    // The sharing of a host that holds its count file open: it may go on
    // reading and writing its handle.
    SystemError OpenForOverwriting(const std::string& path, std::unique_ptr<WritableFile>& file) override {
        return OpenedFile(Open(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING), path, file);
    }

    SystemError Status(const std::string& path, FileStatus& status) override {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!::GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return LastSystemError();
        status.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        status.readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
        status.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        return Ok();
    }

    SystemError List(const std::string& directory, std::vector<DirectoryEntry>& entries) override {
        WIN32_FIND_DATAW found{};
        const HANDLE search = ::FindFirstFileW((WidePath(directory, true) + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return LastSystemError();
        do {
            const std::string name = Narrowed(found.cFileName);
            if (name != "." && name != "..")
                entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
        return Ok();
    }

    SystemError Remove(const std::string& path) override { return Checked(::DeleteFileW(WidePath(path).c_str())); }
    SystemError Rename(const std::string& from, const std::string& to) override {
        return Checked(::MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    }

    // Wine's ReplaceFile refuses relative paths, so both go absolute.
    SystemError Replace(const std::string& target, const std::string& replacement) override {
        const std::wstring to = WidePath(target, true);
        const std::wstring from = WidePath(replacement, true);
        // Trying anyway would fail the same way, and costs Wine a stray
        // temporary file beside the target.
        const SystemError held = HeldAgainstDeletion(to);
        if (held) return held;
        if (::ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_WRITE_THROUGH, nullptr, nullptr)) return Ok();
        const SystemError error = LastSystemError();
        // The old file may be gone already; the replacement then takes its
        // place by a plain move.
        if ((error.code == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error.code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) &&
            ::GetFileAttributesW(to.c_str()) == INVALID_FILE_ATTRIBUTES &&
            ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH))
            return Ok();
        // The replaced file could not be deleted: held open, or no right to
        // delete in its folder.
        if (error.code == ERROR_UNABLE_TO_REMOVE_REPLACED || error.code == ERROR_ACCESS_DENIED)
            return {SystemError::Kind::InUse, error.code};
        return error;
    }

    SystemError MakeDirectory(const std::string& path) override {
        return Checked(::CreateDirectoryW(WidePath(path).c_str(), nullptr));
    }
    SystemError RemoveEmptyDirectory(const std::string& path) override {
        return Checked(::RemoveDirectoryW(WidePath(path).c_str()));
    }
    // A directory's handle flushes what it lists; file systems that cannot
    // (some network shares) are left to their own write-through.
    SystemError FlushDirectory(const std::string& path) override {
        const WinHandle directory(Open(path, GENERIC_WRITE, kShareAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS));
        if (!directory.Valid()) return LastSystemError();
        if (::FlushFileBuffers(directory.Get())) return Ok();
        const SystemError error = LastSystemError();
        return error.code == ERROR_INVALID_FUNCTION || error.code == ERROR_NOT_SUPPORTED ? Ok() : error;
    }

    // Shared with nobody, so a second open fails while this one lasts; the
    // system deletes the file when the last handle goes, however it goes.
    SystemError Lock(const std::string& path, std::unique_ptr<FileLock>& lock) override {
        const HANDLE handle = Open(path, GENERIC_READ | GENERIC_WRITE | DELETE, 0, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE);
        if (handle == INVALID_HANDLE_VALUE) return LastSystemError();
        lock = std::make_unique<WindowsFileLock>(handle);
        return Ok();
    }

private:
    // InUse when someone holds the file open without letting it be deleted,
    // as a host showing its count file may: it cannot be replaced then.
    static SystemError HeldAgainstDeletion(const std::wstring& path) {
        const WinHandle probe(::CreateFileW(path.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
        if (probe.Valid() || ::GetLastError() != ERROR_SHARING_VIOLATION) return Ok();
        return {SystemError::Kind::InUse, ERROR_SHARING_VIOLATION};
    }
};

}  // namespace

FileSystem& SystemFileSystem() {
    static WindowsFileSystem system;
    return system;
}

}  // namespace iwv::platform
