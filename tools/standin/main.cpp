// mame-standin: answers the emulator command lines the front end uses, in the emulator's
// classic output formats or, when standin.dat says "dialect today", in those of today's
// emulator, from the games and behaviour in standin.dat. Copied or linked into an emulator
// folder as `mame`.
//
// Every invocation first appends one line to standin-calls.txt in the working folder: its
// arguments (not the program name) separated by TAB, a TAB, CR or LF inside an argument written
// as a blank, the line ended by LF.
//
// standin.dat is looked for in the working folder, then beside the program as it was called
// (argv[0]), then beside the program file itself (/proc/self/exe). Without it the stand-in
// knows no game.

#include "CommandLine.h"
#include "DataFile.h"
#include "Output.h"

#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace {

using namespace zefrin::standin;
namespace fs = std::filesystem;

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

} // namespace

int main(int argc, char* argv[])
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    recordCall(args);
    const EmulatorData data = loadData(argc > 0 ? argv[0] : nullptr);
    const Settings settings = settingsFor(data);
    Output out(settings.crlf);
    Output err(settings.crlf, out);

    const bool today = settings.dialect == Dialect::Today;
    const CommandLine line = today ? parseToday(args, settings) : parseClassic(args);
    if (!line.error.empty()) {
        (today ? err : out).line(line.error);
        return line.errorCode;
    }
    const Request request{data, out, err, line.name, line.paths};
    if (line.command != nullptr)
        return line.command(request);
    if (!line.name.empty())
        return runGame(request);
    out.line("Usage: mame [game] [options]");
    out.line("       mame -listfull | -cc | GAME -verifysets | GAME -listroms | GAME -verifyroms");
    out.line("       mame ARCHIVE -romident | ARCHIVE -isknown");
    return 0;
}
