// mame-standin: answers the emulator command lines the front end uses, in the emulator's
// classic output formats, from the games and behaviour in standin.dat. Copied or linked into
// an emulator folder as `mame`.
//
// Every invocation first appends one line to standin-calls.txt in the working folder: its
// arguments (not the program name) separated by TAB, a TAB, CR or LF inside an argument written
// as a blank, the line ended by LF.
//
// standin.dat is looked for in the working folder, then beside the program as it was called
// (argv[0]), then beside the program file itself (/proc/self/exe). Without it the stand-in
// knows no game.

#include "Commands.h"
#include "DataFile.h"
#include "Output.h"

#include <fstream>
#include <map>
#include <string>
#include <system_error>
#include <vector>

namespace {

using namespace zefrin::standin;
namespace fs = std::filesystem;

using Command = int (*)(const Request&);

void recordCall(const std::vector<std::string>& args)
{
    std::string line;
    for (const std::string& arg : args) {
        if (&arg != &args.front())
            line += '\t';
        for (const char c : arg)
            line += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
    }
    line += '\n';
    std::ofstream("standin-calls.txt", std::ios::binary | std::ios::app) << line;
}

EmulatorData loadData(const char* argv0)
{
    std::vector<fs::path> folders{"."};
    if (const std::string called = argv0 ? argv0 : ""; called.find('/') != std::string::npos)
        folders.push_back(fs::path(called).parent_path());
    std::error_code error;
    if (const fs::path self = fs::read_symlink("/proc/self/exe", error); !error)
        folders.push_back(self.parent_path());
    for (const fs::path& folder : folders)
        if (auto data = loadDataFile(folder / "standin.dat"))
            return std::move(*data);
    return {};
}

struct CommandLine {
    Command command = nullptr;
    std::string commandName;
    std::string name;
    std::string error;
};

CommandLine parse(const std::vector<std::string>& args)
{
    const std::map<std::string, Command> commands{
        {"listfull", listFull},         {"ll", listFull},       {"listroms", listRoms},
        {"createconfig", createConfig}, {"cc", createConfig},   {"verifysets", verifySets},
        {"verifyroms", verifyRoms},     {"romident", romIdent}, {"isknown", isKnown}};
    CommandLine line;
    for (std::size_t i = 0; i < args.size() && line.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg[0] != '-') {
            if (line.name.empty())
                line.name = arg;
            else
                line.error = "Error: unexpected argument: " + arg;
            continue;
        }
        const std::string option = arg.substr(1);
        if (option == "soundcard") {
            if (++i == args.size())
                line.error = "Error: option -soundcard expects a value";
        } else if (const auto found = commands.find(option); found == commands.end()) {
            line.error = "Error: unknown option: " + arg;
        } else if (line.command != nullptr) {
            line.error = "Error: multiple commands given: -" + line.commandName + " and " + arg;
        } else {
            line.command = found->second;
            line.commandName = option;
        }
    }
    if (line.error.empty() && line.name.empty() &&
        (line.command == romIdent || line.command == isKnown))
        line.error = "Error: -" + line.commandName + " needs a file or set name";
    return line;
}

} // namespace

int main(int argc, char* argv[])
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    recordCall(args);
    const EmulatorData data = loadData(argc > 0 ? argv[0] : nullptr);
    Output out(settingsFor(data).crlf);

    const CommandLine line = parse(args);
    if (!line.error.empty()) {
        out.line(line.error);
        return 1;
    }
    const Request request{data, out, line.name};
    if (line.command != nullptr)
        return line.command(request);
    if (!line.name.empty())
        return runGame(request);
    out.line("Usage: mame [game] [options]");
    out.line("       mame -listfull | -cc | GAME -verifysets | GAME -listroms | GAME -verifyroms");
    out.line("       mame ARCHIVE -romident | ARCHIVE -isknown");
    return 0;
}
