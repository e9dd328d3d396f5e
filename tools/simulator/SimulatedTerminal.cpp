#include "SimulatedTerminal.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CommaFields.h"

namespace iwv::simulator {
std::vector<std::string> ReadLines(const std::string& path, bool& found) {
    std::ifstream in(path, std::ios::binary);
    found = static_cast<bool>(in);
    std::vector<std::string> lines;
    std::string current;
    bool open = false;
    for (char c; in.get(c);) {
        if (c == '\n' || c == '\r') {
            if (c == '\r' && in.peek() == '\n') in.get();
            lines.push_back(current);
            current.clear();
            open = false;
        } else {
            current += c;
            open = true;
        }
    }
    if (open) lines.push_back(current);
    return lines;
}

bool WriteLines(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) out << line << "\r\n";
    out.flush();
    return static_cast<bool>(out);
}

std::string SimulatedTerminal::LoadGoods(const std::vector<std::string>& lookupLines) const {
    for (std::size_t i = 0; i < lookupLines.size(); ++i) {
        const std::vector<std::string> fields = CommaFields(lookupLines[i]);
        if (fields.size() != 5 || fields[3] != "0") {
            std::ostringstream problem;
            problem << "line " << i + 1 << " is not name,code,quantity,0,price: " << lookupLines[i];
            return problem.str();
        }
    }
    std::error_code ignored;
    std::filesystem::create_directories(directory_, ignored);
    return WriteLines(GoodsPath(), lookupLines) ? std::string() : "cannot write " + GoodsPath();
}

std::vector<std::string> SimulatedTerminal::GoodsCodes() const {
    bool found = false;
    std::vector<std::string> codes;
    for (const std::string& line : ReadLines(GoodsPath(), found)) {
        const std::vector<std::string> fields = CommaFields(line);
        if (fields.size() > 1) codes.push_back(fields[1]);
    }
    return codes;
}

std::string SimulatedTerminal::RecordCount(const std::string& code, const std::string& quantity) const {
    const std::vector<std::string> codes = GoodsCodes();
    if (std::find(codes.begin(), codes.end(), code) == codes.end())
        return "code " + code + " is not in the terminal's goods database (load it with an export first)";
    std::vector<std::string> counts = Counts();
    counts.push_back(code + "," + quantity);
    return WriteLines(CountsPath(), counts) ? std::string() : "cannot write " + CountsPath();
}

std::vector<std::string> SimulatedTerminal::Counts() const {
    bool found = false;
    return ReadLines(CountsPath(), found);
}

void SimulatedTerminal::ClearCounts() const {
    std::error_code ignored;
    std::filesystem::remove(CountsPath(), ignored);
}

}  // namespace iwv::simulator
