#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace iwv {

// Where every terminal count that reached the PC stays, and every count file
// an import replaced: archiwum\ in the work directory holds a folder per
// import, named by its number in the order imports were archived and its
// local date and time (000042_2026-12-08_093102), with the count file as it
// was and the terminal data file that replaced it. A folder whose name ends in
// "_niezaimportowany" holds a terminal count that is not in the count file: an
// import that failed, or a count an earlier import left behind. Such folders
// are never removed; of the others only the kKept archived last are kept.
// They are told apart by their numbers, never by the clock, which a shop may
// have set wrong and put right since; folders named by the time alone
// (2026-12-08_093102, with _02, _03 ... after a second import in the same
// second) come from before the numbers and count as older than any numbered
// one.
class CountArchive {
public:
    static constexpr std::size_t kKept = 50;
    static constexpr std::string_view kNotImported = "_niezaimportowany";

    using Sleep = std::function<void(unsigned milliseconds)>;

    CountArchive(platform::FileSystem& files, const std::string& workDirectory);

    class Entry;
    // A new folder, on disk, marked as not imported. Throws Error "Cannot
    // create file <folder>".
    Entry Begin(const platform::LocalTime& when) const;
    // Removes the oldest imported folders beyond kKept.
    void RemoveOldest() const;

    // The folders the archive holds: of counts imported, of counts not.
    struct Tally {
        std::size_t imported = 0;
        std::size_t notImported = 0;
    };
    Tally Count() const;
    const std::string& Path() const { return root_; }

private:
    struct ArchivedFolder {
        std::string name;
        std::optional<unsigned long long> number;  // none before imports were numbered
        bool imported = true;
    };

    // The archive's folders, oldest first; nothing else that may lie in
    // archiwum\ is counted or ever removed.
    std::vector<ArchivedFolder> Folders() const;
    void Remove(const std::string& folder) const;

    platform::FileSystem& files_;
    std::string root_;
};

// One import's folder.
class CountArchive::Entry {
public:
    Entry(const CountArchive& archive, std::string folder) : archive_(&archive), folder_(std::move(folder)) {}
    Entry(Entry&& other) noexcept;
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;
    Entry& operator=(Entry&&) = delete;
    // A folder the terminal's count never reached holds nothing that is not
    // kept elsewhere, and goes again.
    ~Entry();

    const std::string& Folder() const { return folder_; }
    // Copies the count file, as it is now, into the folder and onto disk;
    // nothing when there is none. Throws Error "Cannot open file <count file>"
    // when it cannot be read, "Cannot create file <copy>" or "Cannot write
    // file <copy>" when the copy cannot be made.
    void KeepCount(const std::string& countFile);
    // Where the count file's copy is; empty when there was none.
    const std::string& KeptCount() const { return keptCount_; }
    // Moves the terminal data file into the folder and onto disk, waiting
    // while another program holds it. Throws Error "Cannot open file
    // <terminal data file>" when it stays held, "Cannot create file <in the
    // folder>" otherwise; the file then stays where it was.
    void TakeTerminalData(const std::string& terminalDataFile, const Sleep& sleep);
    // Where the terminal data file is now.
    const std::string& TerminalData() const { return terminalData_; }
    // Marks the folder as imported, on disk; the system's error when it stays
    // marked as not imported.
    platform::SystemError MarkImported();

private:
    const CountArchive* archive_;
    std::string folder_;
    std::string keptCount_;
    std::string terminalData_;
};

}  // namespace iwv
