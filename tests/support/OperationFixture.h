#pragma once

// A shop in a scratch directory for running the export and import natively:
// Shop\Data holds the host's files, Shop is the work directory, and the
// simulated terminal's drivers are found on PATH.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "resources/ScopedEnvironment.h"
#include "TestFiles.h"
#include "common/Cp1250.h"
#include "host/LibraryInstance.h"
#include "support/FakeServices.h"
#include "support/HostInstance.h"

namespace iwv::test {

// Success when text holds every one of lines, each after the one before.
inline testing::AssertionResult InOrder(const std::string& text, const std::vector<std::string>& lines) {
    std::size_t at = 0;
    for (const std::string& line : lines) {
        at = text.find(line, at);
        if (at == std::string::npos) return testing::AssertionFailure() << "no \"" << line << "\" in order in\n" << text;
        at += line.size();
    }
    return testing::AssertionSuccess();
}

class OperationFixture : public ::testing::Test {
protected:
    OperationFixture()
        : path_("PATH", std::string(IWV_SIMULATOR_DIR) + ":" + ScopedEnvironment::Get("PATH").value_or("/usr/bin:/bin")),
          terminal_("IWV_TERMINAL_DIR", Terminal().string()) {
        std::filesystem::create_directories(Shop() / "Data");
        host_.answers = {{"port", "COM2"}, {"baud", "9600"}, {"timeout", "1 min"}, {"dlugosc", "20 liter"},
                         {"cena", "Cena det"}};
    }

    std::filesystem::path Shop() const { return dir_.Path() / "Shop"; }
    std::filesystem::path Terminal() const { return dir_.Path() / "terminal"; }
    std::filesystem::path DataFile(const std::string& name) const { return Shop() / "Data" / name; }
    // The data path as a Windows host passes it: the work directory is found
    // by its backslashes.
    std::string DataPath(const std::string& name) const { return dir_.Path().string() + "\\Shop\\Data\\" + name; }
    LibraryInstance& Instance() { return instance_; }
    // The services of one operation: sleeps are recorded, never waited for.
    const OperationServices& Services() { return services_; }
    void HideSimulator() { path_.Set("/nonexistent"); }

    // The operation journal in the work directory, empty when there is none.
    std::string JournalText() const {
        return std::filesystem::exists(Shop() / "iwvestra.log") ? ReadBytes(Shop() / "iwvestra.log") : std::string();
    }

    static std::string Status() { return std::string(Cp1250("\nTransakcja w toku ...").view()); }
    std::vector<std::string> Summary() const { return host_.Summary(); }

    TempDir dir_;
    ScopedEnvironment path_;
    ScopedEnvironment terminal_;
    RecordingHost host_;
    LibraryInstance instance_ = InstanceOf(host_);
    FakeServices fake_;
    OperationServices services_ = fake_.Services();
};

}  // namespace iwv::test
