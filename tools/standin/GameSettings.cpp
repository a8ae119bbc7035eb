#include "GameSettings.h"

#include "Archive.h"
#include "Output.h"

#include <fstream>
#include <regex>
#include <sstream>

namespace zefrin::standin {

namespace {

namespace fs = std::filesystem;

const std::regex dipPort(R"re(<port\s[^>]*type="DIPSWITCH"[^>]*>)re");
const std::regex dipValue(R"re(\svalue="([^"]*)")re");

std::string attribute(const std::string& tag, const std::string& name)
{
    std::smatch match;
    const std::regex wanted("\\s" + name + "=\"([^\"]*)\"");
    return std::regex_search(tag, match, wanted) ? match[1].str() : std::string();
}

std::string coinKeyIn(const std::string& settings)
{
    static const std::regex coin(
        R"re(<port\s[^>]*type="COIN1"[^>]*>\s*<newseq type="standard">\s*([^<]*?)\s*</newseq>)re");
    std::smatch match;
    return std::regex_search(settings, match, coin) ? match[1].str() : std::string();
}

std::string controllerFile(const Paths& paths)
{
    if (paths.controller.empty())
        return {};
    for (const fs::path& folder : searchFolders(paths.ctrlr)) {
        std::ifstream file(folder / (paths.controller + ".cfg"), std::ios::binary);
        if (file) {
            std::ostringstream text;
            text << file.rdbuf();
            return text.str();
        }
    }
    return {};
}

} // namespace

void printSettingsInUse(Output& out, const Paths& paths, const std::string& gameSettings,
                        const std::string& defaultSettings)
{
    for (std::sregex_iterator port(gameSettings.begin(), gameSettings.end(), dipPort), end;
         port != end; ++port) {
        const std::string tag = port->str();
        out.line("DIPSWITCH " + attribute(tag, "tag") + " " + attribute(tag, "mask") + " = " +
                 attribute(tag, "value"));
    }
    std::string coin = coinKeyIn(gameSettings);
    for (const std::string& next : {defaultSettings, controllerFile(paths)})
        if (coin.empty())
            coin = coinKeyIn(next);
    out.line("COIN1 = " + (coin.empty() ? std::string("KEYCODE_5") : coin));
}

std::string withDipSwitchesAt(std::string settings, long value)
{
    std::string changed;
    std::smatch match;
    while (std::regex_search(settings, match, dipPort)) {
        changed +=
            match.prefix().str() +
            std::regex_replace(match.str(), dipValue, " value=\"" + std::to_string(value) + "\"");
        settings = match.suffix().str();
    }
    return changed + settings;
}

} // namespace zefrin::standin
