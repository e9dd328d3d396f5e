#include "import/CountArchive.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "common/Error.h"
#include "common/FileCopy.h"
#include "common/HeldFile.h"
#include "common/PathText.h"
#include "common/Texts.h"
#include "common/TimeText.h"
#include "driver/WorkDirectory.h"

namespace iwv {
namespace {

using platform::SystemError;
using Kind = SystemError::Kind;

// "2026-12-08_093102": digits everywhere but at these places.
constexpr char kStampPattern[] = "dddd-dd-dd_dddddd";
constexpr std::size_t kStampLength = sizeof kStampPattern - 1;
// More digits than this would not fit the number.
constexpr std::size_t kMostNumberDigits = 18;
// Imports that began at once may reach for the same number; each takes the
// next one free.
constexpr int kMostAttempts = 99;

const std::string kCannotCreate(text::kCannotCreate);
const std::string kCannotOpen(text::kCannotOpen);
const std::string kCannotWrite(text::kCannotWrite);

bool Matches(std::string_view text, std::size_t from, const char* pattern, std::size_t length) {
    if (text.size() < from + length) return false;
    for (std::size_t i = 0; i < length; ++i) {
        const char c = text[from + i];
        if (pattern[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(c)) : c != pattern[i]) return false;
    }
    return true;
}

// A stamp alone or with a suffix "_NN", as imports were named before they
// were numbered.
bool IsUnnumberedName(std::string_view name) {
    if (!Matches(name, 0, kStampPattern, kStampLength)) return false;
    return name.size() == kStampLength || (name.size() == kStampLength + 3 && Matches(name, kStampLength, "_dd", 3));
}

// The number of a name "000042_2026-12-08_093102", or none.
std::optional<unsigned long long> NumberOf(std::string_view name) {
    std::size_t digits = 0;
    while (digits < name.size() && std::isdigit(static_cast<unsigned char>(name[digits]))) ++digits;
    if (digits == 0 || digits > kMostNumberDigits || name.size() != digits + 1 + kStampLength || name[digits] != '_' ||
        !Matches(name, digits + 1, kStampPattern, kStampLength))
        return std::nullopt;
    return std::stoull(std::string(name.substr(0, digits)));
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace

CountArchive::CountArchive(platform::FileSystem& files, const std::string& workDirectory)
    : files_(files), root_(WorkFilePath(workDirectory, "archiwum")) {}

CountArchive::Tally CountArchive::Count() const {
    Tally tally;
    for (const ArchivedFolder& folder : Folders()) ++(folder.imported ? tally.imported : tally.notImported);
    return tally;
}

std::vector<CountArchive::ArchivedFolder> CountArchive::Folders() const {
    std::vector<platform::DirectoryEntry> entries;
    files_.List(root_, entries);
    std::vector<ArchivedFolder> folders;
    for (const platform::DirectoryEntry& entry : entries) {
        if (!entry.directory) continue;
        const bool imported = !EndsWith(entry.name, kNotImported);
        const std::string_view name =
            std::string_view(entry.name).substr(0, entry.name.size() - (imported ? 0 : kNotImported.size()));
        const std::optional<unsigned long long> number = NumberOf(name);
        if (number || (imported && IsUnnumberedName(name))) folders.push_back({entry.name, number, imported});
    }
    // Unnumbered ones first, by their time; then by number.
    std::sort(folders.begin(), folders.end(), [](const ArchivedFolder& a, const ArchivedFolder& b) {
        if (a.number.has_value() != b.number.has_value()) return !a.number.has_value();
        if (a.number && *a.number != *b.number) return *a.number < *b.number;
        return a.name < b.name;
    });
    return folders;
}

CountArchive::Entry CountArchive::Begin(const platform::LocalTime& when) const {
    const SystemError madeRoot = files_.MakeDirectory(root_);
    if (madeRoot && !madeRoot.Is(Kind::Exists)) throw Error(kCannotCreate + root_, madeRoot);
    unsigned long long number = 1;
    for (const ArchivedFolder& folder : Folders())
        if (folder.number) number = std::max(number, *folder.number + 1);
    // The number orders the folders; a clock out of all range only loses the
    // time in the name.
    std::string stamp = TimeText(when, TimeStyle::Naming);
    if (!Matches(stamp, 0, kStampPattern, kStampLength) || stamp.size() != kStampLength) stamp = "0000-00-00_000000";
    const std::string name = stamp + std::string(kNotImported);
    for (int attempt = 0;; ++attempt, ++number) {
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "%06llu_", number);
        const std::string folder = WorkFilePath(root_, prefix + name);
        const SystemError error = files_.MakeDirectory(folder);
        if (error.Is(Kind::Exists) && attempt + 1 < kMostAttempts) continue;
        if (error) throw Error(kCannotCreate + folder, error);
        Entry entry(*this, folder);
        // The folder's name and, when it is new, the archive's own are on
        // disk before anything goes in.
        SystemError flushed = files_.FlushDirectory(root_);
        if (!flushed && !madeRoot) flushed = files_.FlushDirectory(FolderToName(root_));
        if (flushed) throw Error(kCannotCreate + folder, flushed);
        return entry;
    }
}

void CountArchive::RemoveOldest() const {
    std::vector<ArchivedFolder> imported = Folders();
    imported.erase(std::remove_if(imported.begin(), imported.end(), [](const ArchivedFolder& f) { return !f.imported; }),
                   imported.end());
    for (std::size_t i = 0; i + kKept < imported.size(); ++i) Remove(WorkFilePath(root_, imported[i].name));
}

// A folder and the files it holds.
void CountArchive::Remove(const std::string& folder) const {
    std::vector<platform::DirectoryEntry> entries;
    files_.List(folder, entries);
    for (const platform::DirectoryEntry& entry : entries)
        if (!entry.directory) files_.Remove(WorkFilePath(folder, entry.name));
    files_.RemoveEmptyDirectory(folder);
}

CountArchive::Entry::Entry(Entry&& other) noexcept
    : archive_(other.archive_),
      folder_(std::move(other.folder_)),
      keptCount_(std::move(other.keptCount_)),
      terminalData_(std::move(other.terminalData_)) {
    other.folder_.clear();
}

CountArchive::Entry::~Entry() {
    if (folder_.empty() || !terminalData_.empty()) return;
    try {
        archive_->Remove(folder_);
    } catch (...) {
    }
}

void CountArchive::Entry::KeepCount(const std::string& countFile) {
    platform::FileSystem& files = archive_->files_;
    platform::FileStatus status;
    const SystemError missing = files.Status(countFile, status);
    if (missing.Is(Kind::NotFound)) return;
    if (missing) throw Error(kCannotOpen + countFile, missing);
    std::string name = NameOf(countFile);
    // A count file that shares the terminal data file's name must not take
    // its place in the archive.
    if (name.empty() || name == "inwin.txt") name = "remanent.txt";
    const std::string copy = WorkFilePath(folder_, name);
    const CopyFailure failure = CopyToNewFile(files, countFile, copy, platform::FileSystem::Sharing::AllowAll);
    if (failure.reading) throw Error(kCannotOpen + countFile, failure.error);
    if (failure) throw Error(kCannotCreate + copy, failure.error);
    if (const SystemError error = files.FlushDirectory(folder_)) throw Error(kCannotWrite + copy, error);
    keptCount_ = copy;
}

void CountArchive::Entry::TakeTerminalData(const std::string& terminalDataFile, const Sleep& sleep) {
    platform::FileSystem& files = archive_->files_;
    const std::string moved = WorkFilePath(folder_, NameOf(terminalDataFile));
    const SystemError error = WhileHeld(sleep, [&] { return files.Rename(terminalDataFile, moved); });
    if (error.Is(Kind::InUse)) throw Error(kCannotOpen + terminalDataFile, error);
    if (error) throw Error(kCannotCreate + moved, error);
    terminalData_ = moved;
    // Its new name on disk first, then the old one's going: between the two a
    // power cut leaves it in both places, never in neither.
    SystemError flushed = files.FlushDirectory(folder_);
    if (!flushed) flushed = files.FlushDirectory(FolderToName(terminalDataFile));
    if (flushed) throw Error(kCannotCreate + moved, flushed);
}

SystemError CountArchive::Entry::MarkImported() {
    platform::FileSystem& files = archive_->files_;
    const std::string imported = folder_.substr(0, folder_.size() - kNotImported.size());
    if (const SystemError error = files.Rename(folder_, imported)) return error;
    folder_ = imported;
    terminalData_ = WorkFilePath(folder_, NameOf(terminalData_));
    if (!keptCount_.empty()) keptCount_ = WorkFilePath(folder_, NameOf(keptCount_));
    return files.FlushDirectory(archive_->root_);
}

}  // namespace iwv
