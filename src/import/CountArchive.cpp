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
// More digits than this would not fit the number.
constexpr std::size_t kMostNumberDigits = 18;
// Imports that began at once may reach for the same number; each takes the
// next one free.
constexpr int kMostAttempts = 99;

bool Matches(const std::string& text, std::size_t from, const char* pattern, std::size_t length) {
    if (text.size() < from + length) return false;
    for (std::size_t i = 0; i < length; ++i) {
        const char c = text[from + i];
        if (pattern[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(c)) : c != pattern[i]) return false;
    }
    return true;
}

// A stamp alone or with a suffix "_NN", as imports were named before they
// were numbered.
bool IsUnnumberedImportName(const std::string& name) {
    if (!Matches(name, 0, kStampPattern, kStampLength)) return false;
    return name.size() == kStampLength || (name.size() == kStampLength + 3 && Matches(name, kStampLength, "_dd", 3));
}

// The number of a name "000042_2026-12-08_093102", or none.
std::optional<unsigned long long> ImportNumber(const std::string& name) {
    std::size_t digits = 0;
    while (digits < name.size() && std::isdigit(static_cast<unsigned char>(name[digits]))) ++digits;
    if (digits == 0 || digits > kMostNumberDigits || name.size() != digits + 1 + kStampLength || name[digits] != '_' ||
        !Matches(name, digits + 1, kStampPattern, kStampLength))
        return std::nullopt;
    return std::stoull(name.substr(0, digits));
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

CountArchive::Stored CountArchive::Store(const platform::LocalTime& when, const std::string& countFile,
                                         const std::string& terminalDataFile) const {
    Stored stored;
    const bool countExists = platform::PathExists(countFile);
    stored.countKept = !countExists;
    const std::optional<std::string> directory = NewImportDirectory(when);
    if (!directory) return stored;
    const std::string terminalName = NameOf(terminalDataFile);
    std::string countName = NameOf(countFile);
    // A count file that shares the terminal data file's name must not take
    // its place in the archive.
    if (countName.empty() || countName == terminalName) countName = "remanent.txt";
    // Each copy on its own: the terminal's count is worth keeping even where
    // the old count cannot be read.
    const bool countCopied = countExists && platform::CopyToNewFile(countFile, WorkFilePath(*directory, countName));
    stored.countKept = !countExists || countCopied;
    stored.terminalDataKept = platform::CopyToNewFile(terminalDataFile, WorkFilePath(*directory, terminalName));
    if (!countCopied && !stored.terminalDataKept) {
        RemoveImport(*directory);
        return stored;
    }
    stored.directory = *directory;
    RemoveOldest();
    return stored;
}

std::vector<CountArchive::Import> CountArchive::Imports() const {
    std::vector<Import> imports;
    for (const platform::DirectoryEntry& entry : platform::ListDirectory(root_)) {
        if (!entry.directory) continue;
        const std::optional<unsigned long long> number = ImportNumber(entry.name);
        if (number || IsUnnumberedImportName(entry.name)) imports.push_back({entry.name, number});
    }
    // Unnumbered ones first, by their time; then by number.
    std::sort(imports.begin(), imports.end(), [](const Import& a, const Import& b) {
        if (a.number.has_value() != b.number.has_value()) return !a.number.has_value();
        if (a.number && *a.number != *b.number) return *a.number < *b.number;
        return a.name < b.name;
    });
    return imports;
}

std::optional<std::string> CountArchive::NewImportDirectory(const platform::LocalTime& when) const {
    platform::MakeDirectory(root_);  // usually there already
    const std::string stamp = Stamp(when);
    if (stamp.size() != kStampLength) return std::nullopt;  // a clock out of all range
    unsigned long long number = 1;
    for (const Import& import : Imports())
        if (import.number) number = std::max(number, *import.number + 1);
    for (int attempt = 0; attempt < kMostAttempts; ++attempt, ++number) {
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "%06llu_", number);
        const std::string directory = WorkFilePath(root_, prefix + stamp);
        if (platform::MakeDirectory(directory)) return directory;
        if (!platform::PathExists(directory)) return std::nullopt;  // not a clash: cannot be written
    }
    return std::nullopt;
}

void CountArchive::RemoveOldest() const {
    const std::vector<Import> imports = Imports();
    for (std::size_t i = 0; i + kKept < imports.size(); ++i) RemoveImport(WorkFilePath(root_, imports[i].name));
}

}  // namespace iwv
