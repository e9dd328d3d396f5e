#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"

namespace iwv {

// Copies of what each import replaced, so that a count that was lost or
// mistaken can be recovered: archiwum\ in the work directory holds one
// directory per import, named by its number in the order imports were
// archived and its local date and time (000042_2026-12-08_093102), with the
// count file as it was and the terminal data file that replaced it. Only the
// kKept archived last are kept. They are told apart by their numbers, never
// by the clock, which a shop may have set wrong and put right since;
// directories named by the time alone (2026-12-08_093102, with _02, _03 ...
// after a second import in the same second) come from before the numbers
// and count as older than any numbered one.
class CountArchive {
public:
    static constexpr std::size_t kKept = 50;

    // What one import left in the archive.
    struct Stored {
        std::string directory;        // empty when none could be made
        bool countKept = false;       // the count file as it was is there, or there was none
        bool terminalDataKept = false;
    };

    explicit CountArchive(const std::string& workDirectory);

    // Copies the count file (when there is one) and the terminal data file
    // into a new directory for an import begun at when, each whole or not at
    // all, then removes the oldest beyond kKept. A directory that got neither
    // is removed again.
    Stored Store(const platform::LocalTime& when, const std::string& countFile,
                 const std::string& terminalDataFile) const;

    // The imports archived.
    std::size_t Count() const { return Imports().size(); }
    const std::string& Path() const { return root_; }

private:
    struct Import {
        std::string name;
        std::optional<unsigned long long> number;  // none before imports were numbered
    };

    // The archive's import directories, oldest first; nothing else that may
    // lie in archiwum\ is counted or ever removed.
    std::vector<Import> Imports() const;
    std::optional<std::string> NewImportDirectory(const platform::LocalTime& when) const;
    void RemoveOldest() const;

    std::string root_;
};

}  // namespace iwv
