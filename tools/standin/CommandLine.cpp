#include "CommandLine.h"

#include <map>

namespace zefrin::standin {

CommandLine parseClassic(const std::vector<std::string>& args)
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

} // namespace zefrin::standin
