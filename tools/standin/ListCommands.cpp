// -listfull, -listroms and -cc.

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
    std::string text() const
    {
        std::string all;
        for (const std::string& line : m_lines)
            all += line + "\r\n";
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
    if (settingsFor(request.data).ccNoIni)
        return 0;
    const std::string text = defaultIni();
    std::ofstream ini("mame.ini", std::ios::binary | std::ios::trunc);
    ini.write(text.data(), static_cast<std::streamsize>(text.size()));
    ini.close();
    if (ini.fail()) {
        request.out.line("ERROR: unable to write file \"mame.ini\"");
        return 1;
    }
    return 0;
}

} // namespace zefrin::standin
