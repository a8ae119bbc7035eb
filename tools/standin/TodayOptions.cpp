// Today's command line: options may stand anywhere, path options win over mame.ini, and
// mame.ini is read only from a folder that -inipath names (the package's own ini path lies
// outside the emulator folder).

#include "Archive.h"
#include "CommandLine.h"

#include <fstream>
#include <map>
#include <set>

namespace zefrin::standin {
namespace {

namespace fs = std::filesystem;

constexpr int badCommandLine = 6;
constexpr int fatalError = 3;

using Values = std::map<std::string, std::string>;

std::string_view trimmed(std::string_view text)
{
    const std::size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string_view::npos)
        return {};
    return text.substr(start, text.find_last_not_of(" \t\r") - start + 1);
}

// One "name value" line of mame.ini into `values`; the value in double quotes when it holds
// blanks.
void readIniLine(std::string_view line, Values& values)
{
    line = trimmed(line);
    if (line.empty() || line.front() == '#')
        return;
    const std::size_t blank = std::min(line.find_first_of(" \t"), line.size());
    std::string_view value = trimmed(line.substr(blank));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    values[std::string(line.substr(0, blank))] = std::string(value);
}

// The options of the first mame.ini on `iniPath`.
Values readIni(std::string_view iniPath)
{
    for (const fs::path& folder : searchFolders(iniPath)) {
        std::ifstream file(folder / "mame.ini", std::ios::binary);
        if (!file)
            continue;
        Values values;
        std::string line;
        for (bool first = true; std::getline(file, line); first = false)
            readIniLine(first && line.rfind("\xEF\xBB\xBF", 0) == 0 ? line.substr(3) : line,
                        values);
        return values;
    }
    return {};
}

// The command line's value, else mame.ini's, else the default.
void pick(const Values& given, const Values& ini, const std::string& option, std::string& target)
{
    if (const auto found = given.find(option); found != given.end())
        target = found->second;
    else if (const auto inIni = ini.find(option); inIni != ini.end())
        target = inIni->second;
}

} // namespace

CommandLine parseToday(const std::vector<std::string>& args, const Settings& settings)
{
    const std::map<std::string, Command> commands{
        {"listfull", listFullToday},     {"ll", listFullToday},          {"listcrc", listCrc},
        {"listroms", listRoms},          {"createconfig", createConfig}, {"cc", createConfig},
        {"verifyroms", verifyRomsToday}, {"romident", romIdent},         {"version", version},
        {"showconfig", showConfig}};
    const std::set<std::string> withValue{"inipath", "rompath", "cfg_directory", "ctrlrpath",
                                          "ctrlr",   "video",   "sound",         "seconds_to_run"};
    CommandLine line;
    line.errorCode = badCommandLine;
    Values given;
    std::string secondName;
    for (std::size_t i = 0; i < args.size() && line.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg[0] != '-') {
            if (line.name.empty())
                line.name = arg;
            else if (secondName.empty())
                secondName = arg;
            continue;
        }
        const std::string option = arg.substr(1);
        const auto command = commands.find(option);
        if (withValue.count(option) != 0) {
            if (++i < args.size())
                given[option] = args[i];
            else
                line.error = "Error: option " + arg + " expected a parameter";
        } else if (option == "skip_gameinfo") {
            // Accepted; the stand-in shows no information screen anyway.
        } else if (command == commands.end()) {
            line.error = "Error: unknown option: " + arg;
        } else if (line.command != nullptr) {
            line.error = "Error: multiple commands specified -" + line.commandName + " and " + arg;
        } else {
            line.command = command->second;
            line.commandName = option;
        }
    }
    if (line.error.empty() && !secondName.empty()) {
        line.error = "Error: unknown option: " + secondName;
        line.errorCode = fatalError;
    }
    if (line.error.empty() && line.name.empty() && line.command == romIdent)
        line.error = "Error: -romident needs a file or set name";
    // Without -inipath the package's own settings (and the user's) are read; with it, only the
    // mame.ini it names, over the built-in defaults.
    const bool ownIni = given.count("inipath") != 0;
    const Values ini = ownIni ? readIni(given["inipath"]) : Values{};
    if (!ownIni) {
        line.paths.ctrlr = settings.packageCtrlr;
        line.paths.controller = settings.userCtrlr;
    }
    pick(given, ini, "rompath", line.paths.roms);
    pick(given, ini, "cfg_directory", line.paths.cfg);
    pick(given, ini, "ctrlrpath", line.paths.ctrlr);
    pick(given, ini, "ctrlr", line.paths.controller);
    return line;
}

} // namespace zefrin::standin
