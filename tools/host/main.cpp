// iwvestra-host: tries the plug-in the way a sales program does, with
// LoadLibrary and GetProcAddress only, and shows everything it says.

#include <windows.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Console.h"
#include "ElapsedTimer.h"
#include "HostSession.h"
#include "PluginLibrary.h"
#include "common/PathText.h"

namespace {

using namespace iwv::host;

constexpr int kExitDone = 0;
constexpr int kExitResultZero = 1;
constexpr int kExitUsage = 2;
constexpr int kExitLibraryError = 3;

const char kUsage[] =
    "usage: iwvestra-host [options] info\n"
    "       iwvestra-host [options] export GOODS_FILE\n"
    "       iwvestra-host [options] import COUNT_FILE\n"
    "       iwvestra-host [options] clear\n"
    "options (value texts as the host offers them; defaults from the library):\n"
    "  --port COM1..COM10   --baud 9600..115200   --timeout \"5 min\"\n"
    "  --length \"20 liter\"   --price \"Cena det\"|\"Cena zak\"\n"
    "  --library PATH       (default: IWVestra.dll beside this program)\n"
    "exit status: 0 result 1, 1 result 0, 2 bad usage, 3 library error\n";

// Host option name -> the plug-in's parameter key.
const std::map<std::string, std::string> kParameterOptions = {
    {"--port", "port"}, {"--baud", "baud"}, {"--timeout", "timeout"}, {"--length", "dlugosc"}, {"--price", "cena"},
};

struct Command {
    std::string name;
    std::string dataPath;
    std::string library;
    std::map<std::string, std::string> values;  // parameter key -> value text
};

std::string DefaultLibraryPath() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return iwv::FolderOf(std::string_view(path, length)) + "IWVestra.dll";
}

bool Parse(int argc, char** argv, Command& command) {
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const auto option = kParameterOptions.find(argument);
        if (option != kParameterOptions.end() || argument == "--library") {
            if (i + 1 >= argc) return false;
            (option != kParameterOptions.end() ? command.values[option->second] : command.library) = argv[++i];
        } else if (argument.size() > 1 && argument[0] == '-') {
            return false;
        } else {
            words.push_back(argument);
        }
    }
    if (words.empty()) return false;
    command.name = words[0];
    const bool needsPath = command.name == "export" || command.name == "import";
    const bool bare = command.name == "info" || command.name == "clear";
    if (!(needsPath && words.size() == 2) && !(bare && words.size() == 1)) return false;
    if (needsPath) command.dataPath = words[1];
    if (command.library.empty()) command.library = DefaultLibraryPath();
    return true;
}

// What the loaded plug-in's version resource says: the file version, the
// numbers Windows shows in the file's properties, and the product version,
// the text in the kit's name. Empty when it has none.
struct LibraryVersion {
    std::string file;
    std::string product;
};

LibraryVersion VersionOf(const PluginExports& api) {
    HMODULE module = nullptr;
    char path[MAX_PATH] = {};
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCSTR>(api.typBiblioteki), &module) ||
        ::GetModuleFileNameA(module, path, MAX_PATH) == 0)
        return {};
    DWORD ignored = 0;
    std::vector<char> info(::GetFileVersionInfoSizeA(path, &ignored));
    if (info.empty() || !::GetFileVersionInfoA(path, 0, static_cast<DWORD>(info.size()), info.data())) return {};
    LibraryVersion version;
    void* value = nullptr;
    UINT length = 0;
    if (::VerQueryValueA(info.data(), "\\", &value, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        version.file = std::to_string(HIWORD(fixed->dwFileVersionMS)) + '.' +
                       std::to_string(LOWORD(fixed->dwFileVersionMS)) + '.' +
                       std::to_string(HIWORD(fixed->dwFileVersionLS)) + '.' + std::to_string(LOWORD(fixed->dwFileVersionLS));
    }
    if (::VerQueryValueA(info.data(), "\\StringFileInfo\\041504E2\\ProductVersion", &value, &length) && length > 0)
        version.product = static_cast<const char*>(value);
    return version;
}

std::string OrNone(const std::string& text) { return text.empty() ? std::string("(no version resource)") : text; }

int ShowInfo(const PluginLibrary& plugin) {
    const PluginExports& api = plugin.Exports();
    const LibraryVersion version = VersionOf(api);
    Print("library version: " + OrNone(version.file) + "\n");
    Print("library product version: " + OrNone(version.product) + "\n");
    Print("library type: " + std::to_string(api.typBiblioteki()) + "\n");
    PrintCp1250("device label: " + plugin.Property(IWV_PROPERTY_DEVICE_LABEL) + "\n");
    PrintCp1250("library name: " + plugin.Property(IWV_PROPERTY_LIBRARY_NAME) + "\n");
    for (const PluginParameter& parameter : plugin.Parameters()) {
        std::string values;
        for (const std::string& value : parameter.values) values += (values.empty() ? "" : ", ") + value;
        PrintCp1250("parameter " + parameter.key + " \"" + parameter.caption + "\", default \"" +
                    parameter.defaultValue + "\": " + values + "\n");
    }
    PrintCp1250("prompt before an import (302):\n" + plugin.Property(IWV_PROPERTY_IMPORT_PROMPT) + "\n");
    PrintCp1250("prompt before an export (303):\n" + plugin.Property(IWV_PROPERTY_EXPORT_PROMPT) + "\n");
    return kExitDone;
}

int RunTransfer(const PluginLibrary& plugin, Command& command) {
    // The operator's values where given, the library's defaults elsewhere.
    for (const PluginParameter& parameter : plugin.Parameters())
        command.values.emplace(parameter.key, parameter.defaultValue);

    const bool isExport = command.name == "export";
    PrintCp1250("[operator] " + plugin.Property(isExport ? IWV_PROPERTY_EXPORT_PROMPT : IWV_PROPERTY_IMPORT_PROMPT) + "\n");
    HostSession session(plugin, command.values);
    bool raised = false;
    std::string message;
    std::int32_t result = 0;
    {
        ElapsedTimer timer(5);
        const PluginExports& api = plugin.Exports();
        result = session.Run(isExport ? api.inwEksportujTowary : api.inwImport, command.dataPath, raised, message);
    }
    if (raised) {
        PrintCp1250("[library error] " + message + "\n");
        return kExitLibraryError;
    }
    Print("result: " + std::to_string(result) + "\n");
    return result == 1 ? kExitDone : kExitResultZero;
}

}  // namespace

int main(int argc, char** argv) {
    Command command;
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        Print(kUsage);
        return kExitDone;
    }
    if (!Parse(argc, argv, command)) {
        PrintError(kUsage);
        return kExitUsage;
    }
    PluginLibrary plugin;
    std::string error;
    if (!plugin.Load(command.library, error)) {
        PrintError("iwvestra-host: " + error + "\n");
        return kExitUsage;
    }
    if (command.name == "info") return ShowInfo(plugin);
    if (command.name == "clear") {
        const std::int32_t result = plugin.Exports().inwZeruj(0, 0);
        Print("result: " + std::to_string(result) + "\n");
        return result == 1 ? kExitDone : kExitResultZero;
    }
    return RunTransfer(plugin, command);
}
