#pragma once

#include <string>
#include <vector>

namespace iwv::simulator {

// The simulated terminal's memory, kept as plain files in its folder:
// goods.txt, the goods database last loaded by dlookup (lookup lines as the
// plug-in wrote them), and counts.txt, one "code,quantity" line per scan.
class SimulatedTerminal {
public:
    explicit SimulatedTerminal(std::string directory) : directory_(std::move(directory)) {}

    const std::string& Directory() const { return directory_; }
    std::string GoodsPath() const { return directory_ + "/goods.txt"; }
    std::string CountsPath() const { return directory_ + "/counts.txt"; }

    // Checks every lookup line (five fields, the fourth "0") and stores them as
    // the goods database. Returns an empty text, or what is wrong.
    std::string LoadGoods(const std::vector<std::string>& lookupLines) const;
    // The codes of the goods database.
    std::vector<std::string> GoodsCodes() const;
    // Records one scan. Returns an empty text, or what is wrong.
    std::string RecordCount(const std::string& code, const std::string& quantity) const;
    // The recorded counts, oldest first.
    std::vector<std::string> Counts() const;
    // Forgets every count.
    void ClearCounts() const;

private:
    std::string directory_;
};

// Reads a text file's lines without their CR LF, LF or CR line ends.
std::vector<std::string> ReadLines(const std::string& path, bool& found);
// Writes lines each followed by CR LF; false when the file cannot be written.
bool WriteLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace iwv::simulator
