#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"

namespace iwv {

// Copies of what each import replaced, so that a count that was lost or
// mistaken can be recovered: archiwum\ in the work directory holds one
// directory per import, named by its local date and time
// (2026-12-08_093102, with _02, _03 ... after a second import in the same
// second), with the count file as it was and the terminal data file that
// replaced it. Only the newest kKept are kept.
class CountArchive {
public:
    static constexpr std::size_t kKept = 50;

    explicit CountArchive(const std::string& workDirectory);

    // Copies the count file (when there is one) and the terminal data file
    // into a new directory for an import begun at when, then removes the
    // oldest beyond kKept. The new directory's path, or none when the copies
    // could not be written whole (nothing half-written is left behind).
    std::optional<std::string> Store(const platform::LocalTime& when, const std::string& countFile,
                                     const std::string& terminalDataFile) const;

    // The imports archived.
    std::size_t Count() const { return Imports().size(); }
    const std::string& Path() const { return root_; }

private:
    // The archive's import directories, oldest first; nothing else that may
    // lie in archiwum\ is counted or ever removed.
    std::vector<std::string> Imports() const;
    std::optional<std::string> NewImportDirectory(const platform::LocalTime& when) const;
    void RemoveOldest() const;

    std::string root_;
};

}  // namespace iwv
