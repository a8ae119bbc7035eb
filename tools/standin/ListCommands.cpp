// -listfull, -listroms, -cc and today's -showconfig.

#include "Commands.h"
#include "Text.h"

#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

namespace zefrin::standin {
namespace {

// mame.ini layout: an option name filled with blanks to 24 columns, then its value. An option
// without a value is written commented out, its name filled to 22 after the "# ".
class IniText {
public:
    IniText& section(const char* title)
    {
        m_lines.insert(m_lines.end(), {"#", std::string("# ") + title, "#"});
        return *this;
    }
    IniText& option(const char* name, const char* value)
    {
        m_lines.push_back(padRight(name, 24) + value);
        return *this;
    }
    IniText& unset(const char* name)
    {
        m_lines.push_back("# " + padRight(name, 22) + "<NULL> (Not Set)");
        return *this;
    }
    // Today's layout: names filled to 26 columns, an option without a value written with
    // none.
    IniText& todays(const char* name, const std::string& value)
    {
        m_lines.push_back(padRight(name, 26) + value);
        return *this;
    }
    std::string text(const char* eol = "\r\n") const
    {
        std::string all;
        for (const std::string& line : m_lines)
            all += line + eol;
        return all;
    }

private:
    std::vector<std::string> m_lines;
};

std::string defaultIni()
{
    IniText ini;
    ini.section("CORE CONFIGURATION OPTIONS").option("readconfig", "1");
    ini.section("CORE SEARCH PATH OPTIONS")
        .option("rompath", "roms")
        .option("samplepath", "samples")
        .option("artpath", "artwork")
        .option("ctrlrpath", "ctrlr")
        .option("inipath", "ini")
        .option("fontpath", ".")
        .option("cheatpath", "cheat");
    ini.section("CORE OUTPUT DIRECTORY OPTIONS")
        .option("cfg_directory", "cfg")
        .option("nvram_directory", "nvram")
        .option("memcard_directory", "memcard")
        .option("input_directory", "inp")
        .option("state_directory", "sta")
        .option("snapshot_directory", "snap")
        .option("diff_directory", "diff");
    ini.section("CORE STATE/PLAYBACK OPTIONS").unset("state").option("autosave", "0");
    ini.section("CORE PERFORMANCE OPTIONS")
        .option("autoframeskip", "1")
        .option("frameskip", "0")
        .option("throttle", "1")
        .option("sleep", "1");
    ini.section("CORE VIDEO OPTIONS")
        .option("rotate", "1")
        .option("flipx", "0")
        .option("flipy", "0")
        .option("brightness", "1.0")
        .option("gamma", "1.0");
    ini.section("CORE SOUND OPTIONS")
        .option("sound", "1")
        .option("samplerate", "48000")
        .option("volume", "0");
    ini.section("CORE INPUT OPTIONS")
        .unset("ctrlr")
        .option("mouse", "0")
        .option("joystick", "0")
        .option("lightgun", "0")
        .option("steadykey", "0")
        .option("joystick_deadzone", "0.3")
        .option("joystick_saturation", "0.85");
    ini.section("CORE MISC OPTIONS")
        .unset("bios")
        .option("cheat", "0")
        .option("skip_gameinfo", "0");
    return ini.text();
}

// Today's emulator writes the settings in force (its own, the user's, the command line's),
// with LF line ends.
std::string todaysIni(const Paths& paths)
{
    IniText ini;
    ini.section("CORE CONFIGURATION OPTIONS").todays("readconfig", "1");
    ini.section("CORE SEARCH PATH OPTIONS")
        .todays("homepath", ".")
        .todays("rompath", paths.roms)
        .todays("ctrlrpath", paths.ctrlr)
        .todays("inipath", "$HOME/.mame;/etc/mame");
    ini.section("CORE OUTPUT DIRECTORY OPTIONS").todays("cfg_directory", paths.cfg);
    ini.section("CORE INPUT OPTIONS").todays("ctrlr", paths.controller).todays("mouse", "0");
    return ini.text("\n");
}

struct NamedText {
    const char* name;
    std::string text;
};

bool writeFile(const Request& request, const NamedText& file)
{
    std::ofstream out(file.name, std::ios::binary | std::ios::trunc);
    out.write(file.text.data(), static_cast<std::streamsize>(file.text.size()));
    out.close();
    if (!out.fail())
        return true;
    request.out.line(std::string("ERROR: unable to write file \"") + file.name + '"');
    return false;
}

} // namespace

int notSupported(Output& out, const std::string& name)
{
    out.line("Game \"" + name + "\" not supported");
    return 1;
}

int listFull(const Request& request)
{
    const Settings settings = settingsFor(request.data);
    std::this_thread::sleep_for(std::chrono::milliseconds(settings.listfullDelayMs));
    request.out.cutAfter(settings.listfullCutBytes);
    request.out.line("Name:     Description:");
    for (const GameInfo* game : selectGames(request.data, request.name))
        request.out.line(padRight(game->shortName, 10) + '"' + game->title + '"');
    return 0;
}

int listRoms(const Request& request)
{
    const std::vector<const GameInfo*> games = selectGames(request.data, request.name);
    if (games.empty())
        return notSupported(request.out, request.name);
    for (const GameInfo* game : games) {
        if (game != games.front())
            request.out.line("");
        request.out.line("This is the list of the ROMs required for driver \"" + game->shortName +
                         "\".");
        request.out.line("Name              Size Checksum");
        for (const RomInfo& rom : game->roms)
            request.out.line(padRight(rom.name, 12) + ' ' + padLeft(std::to_string(rom.size), 9) +
                             ' ' + crcText(rom.crc));
    }
    return 0;
}

int createConfig(const Request& request)
{
    const Settings settings = settingsFor(request.data);
    if (settings.ccNoIni)
        return 0;
    if (settings.dialect == Dialect::Classic)
        return writeFile(request, {"mame.ini", defaultIni()}) ? 0 : 1;
    const std::vector<NamedText> files{
        {"mame.ini", todaysIni(request.paths)},
        {"ui.ini",
         "#\n# UI OPTIONS\n#\nhide_main_panel           0\nui_font                   default\n"},
        {"plugin.ini", "#\n# PLUGINS OPTIONS\n#\nhiscore                   0\n"}};
    for (const NamedText& file : files)
        if (!writeFile(request, file))
            return 1;
    return 0;
}

int showConfig(const Request& request)
{
    request.out.text(todaysIni(request.paths));
    return 0;
}

} // namespace zefrin::standin
