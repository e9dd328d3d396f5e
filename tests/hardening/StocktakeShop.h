#pragma once

// A shop for whole stocktakes through the plug-in: Shop\Data holds the host's
// files, Shop is the work directory, Shop\terminal the simulated terminal,
// and the simulator's drivers are found on PATH.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "support/PluginEntryPoints.h"
#include "TestFiles.h"
#include "resources/ScopedEnvironment.h"

namespace iwv::test {

class HardeningStocktake : public testing::Test {
protected:
    HardeningStocktake()
        : path_("PATH", std::string(IWV_SIMULATOR_DIR) + (std::filesystem::path::preferred_separator == '\\' ? ";" : ":") +
                            ScopedEnvironment::Get("PATH").value_or("")),
          terminal_("IWV_TERMINAL_DIR", "terminal"),
          host_(std::make_unique<RegisteredHost>(plugin_)) {
        std::filesystem::create_directories(Work() / "Data");
        std::filesystem::create_directories(Work() / "terminal");
        host_->host.answers = {
            {"port", "COM2"}, {"baud", "9600"}, {"timeout", "1 min"}, {"dlugosc", "20 liter"}, {"cena", "Cena det"}};
    }

    std::filesystem::path Work() const { return dir_.Path() / "Shop"; }
    // Paths as a Windows host passes them: the work directory is found by
    // their backslashes.
    std::string WorkPath(const std::string& name) const { return dir_.Path().string() + "\\Shop\\" + name; }
    std::string CountPath() const { return WorkPath("Data\\remanent.txt"); }
    std::string GoodsPath() const { return WorkPath("Data\\towary.txt"); }

    TempDir dir_;
    ScopedEnvironment path_;
    ScopedEnvironment terminal_;
    PluginEntryPoints plugin_;
    std::unique_ptr<RegisteredHost> host_;
};

}  // namespace iwv::test
