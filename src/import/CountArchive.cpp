#include "import/CountArchive.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "driver/WorkDirectory.h"
#include "platform/FileSystem.h"

namespace iwv {
namespace {

// "2026-12-08_093102": digits everywhere but at these places.
constexpr char kStampPattern[] = "dddd-dd-dd_dddddd";
constexpr std::size_t kStampLength = sizeof kStampPattern - 1;
constexpr int kMostInOneSecond = 99;

bool Matches(const std::string& text, std::size_t from, const char* pattern, std::size_t length) {
    if (text.size() < from + length) return false;
    for (std::size_t i = 0; i < length; ++i) {
        const char c = text[from + i];
        if (pattern[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(c)) : c != pattern[i]) return false;
    }
    return true;
}

// A stamp, alone or with a suffix "_NN" for a later import in the same second.
bool IsImportName(const std::string& name) {
    if (!Matches(name, 0, kStampPattern, kStampLength)) return false;
    return name.size() == kStampLength || (name.size() == kStampLength + 3 && Matches(name, kStampLength, "_dd", 3));
}

std::string Stamp(const platform::LocalTime& t) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d_%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

// The file's own name, after its last separator.
std::string NameOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

// Removes an import directory and the files it holds.
void RemoveImport(const std::string& directory) {
    for (const platform::DirectoryEntry& entry : platform::ListDirectory(directory))
        if (!entry.directory) platform::RemoveFile(WorkFilePath(directory, entry.name));
    platform::RemoveEmptyDirectory(directory);
}

}  // namespace

CountArchive::CountArchive(const std::string& workDirectory) : root_(WorkFilePath(workDirectory, "archiwum")) {}

std::optional<std::string> CountArchive::Store(const platform::LocalTime& when, const std::string& countFile,
                                               const std::string& terminalDataFile) const {
    const std::optional<std::string> directory = NewImportDirectory(when);
    if (!directory) return std::nullopt;
    const std::string terminalName = NameOf(terminalDataFile);
    std::string countName = NameOf(countFile);
    // A count file that shares the terminal data file's name must not take
    // its place in the archive.
    if (countName.empty() || countName == terminalName) countName = "remanent.txt";
    const bool stored =
        (!platform::PathExists(countFile) || platform::CopyToNewFile(countFile, WorkFilePath(*directory, countName))) &&
        platform::CopyToNewFile(terminalDataFile, WorkFilePath(*directory, terminalName));
    if (!stored) {
        RemoveImport(*directory);
        return std::nullopt;
    }
    RemoveOldest();
    return directory;
}

std::vector<std::string> CountArchive::Imports() const {
    std::vector<std::string> names;
    for (const platform::DirectoryEntry& entry : platform::ListDirectory(root_))
        if (entry.directory && IsImportName(entry.name)) names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> CountArchive::NewImportDirectory(const platform::LocalTime& when) const {
    platform::MakeDirectory(root_);  // usually there already
    const std::string stamp = Stamp(when);
    if (stamp.size() != kStampLength) return std::nullopt;  // a clock out of all range
    for (int n = 1; n <= kMostInOneSecond; ++n) {
        char suffix[8] = "";
        if (n > 1) std::snprintf(suffix, sizeof suffix, "_%02d", n);
        const std::string directory = WorkFilePath(root_, stamp + suffix);
        if (platform::MakeDirectory(directory)) return directory;
        if (!platform::PathExists(directory)) return std::nullopt;  // not a clash: cannot be written
    }
    return std::nullopt;
}

void CountArchive::RemoveOldest() const {
    const std::vector<std::string> imports = Imports();
    for (std::size_t i = 0; i + kKept < imports.size(); ++i) RemoveImport(WorkFilePath(root_, imports[i]));
}

}  // namespace iwv
