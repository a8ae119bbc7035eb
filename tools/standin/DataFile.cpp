#include "DataFile.h"

#include "Text.h"
#include "fixture/Directives.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>
#include <type_traits>

namespace zefrin::standin {
namespace {

namespace directive = fixture::directive;

// The field of a game line that names a clone's parent set.
constexpr std::string_view parentField = "parent=";

std::vector<std::string_view> split(std::string_view line, char separator)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t at = line.find(separator); at != std::string_view::npos;
         at = line.find(separator, start)) {
        fields.push_back(line.substr(start, at - start));
        start = at + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

std::optional<unsigned long long> number(std::string_view text, int base)
{
    if (text.empty() || text.size() > 20 || text.front() == '-' || text.front() == '+')
        return std::nullopt;
    const std::string digits(text);
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(digits.c_str(), &end, base);
    if (errno != 0 || end != digits.c_str() + digits.size())
        return std::nullopt;
    return value;
}

std::optional<RomInfo> parseRom(std::string_view field)
{
    const std::size_t equals = field.rfind('=');
    if (equals == std::string_view::npos || equals == 0)
        return std::nullopt;
    const std::string_view checksum = field.substr(equals + 1);
    const std::size_t colon = checksum.find(':');
    if (colon != 8)
        return std::nullopt;
    const auto crc = number(checksum.substr(0, 8), 16);
    const auto size = number(checksum.substr(colon + 1), 10);
    if (!crc || !size)
        return std::nullopt;
    return RomInfo{std::string(field.substr(0, equals)), static_cast<std::uint32_t>(*crc), *size};
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The byte that a backslash and `c` stand for, or NUL.
char escaped(char c)
{
    switch (c) {
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case '\\':
        return '\\';
    default:
        return '\0';
    }
}

// "\n", "\r", "\t", "\\" and "\xHH" as those bytes; any other backslash stays as it is.
std::string unescape(std::string_view text)
{
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view rest = text.substr(i);
        if (rest.size() >= 4 && rest[0] == '\\' && rest[1] == 'x' && hexDigit(rest[2]) >= 0 &&
            hexDigit(rest[3]) >= 0) {
            bytes += static_cast<char>(hexDigit(rest[2]) * 16 + hexDigit(rest[3]));
            i += 3;
            continue;
        }
        const char named = rest.size() >= 2 && rest[0] == '\\' ? escaped(rest[1]) : '\0';
        bytes += named != '\0' ? named : rest[0];
        i += named != '\0' ? 1 : 0;
    }
    return bytes;
}

void apply(Settings& s, std::string_view key, std::string_view value)
{
    const auto count = [&value](auto& target) {
        if (const auto n = number(value, 10); n && *n <= 0x7FFFFFFFULL)
            target = static_cast<std::decay_t<decltype(target)>>(*n);
    };
    const bool on = value != "0";
    if (key == directive::runMs)
        count(s.runMs);
    else if (key == directive::runLines)
        count(s.runLines);
    else if (key == directive::runSilent)
        s.runSilent = on;
    else if (key == directive::runNonUtf8)
        s.runNonUtf8 = on;
    else if (key == directive::runMegabytes)
        count(s.runMegabytes);
    else if (key == directive::runCrash)
        s.runCrash = value == "abort" ? Crash::Abort : value == "segv" ? Crash::Segv : Crash::None;
    else if (key == directive::runExit)
        count(s.runExit);
    else if (key == directive::runNoCfg)
        s.runNoCfg = on;
    else if (key == directive::ccNoIni)
        s.ccNoIni = on;
    else if (key == directive::packageCtrlr)
        s.packageCtrlr = value;
    else if (key == directive::userCtrlr)
        s.userCtrlr = value;
    else if (key == directive::listfullDelayMs)
        count(s.listfullDelayMs);
    else if (key == directive::verifyDelayMs)
        count(s.verifyDelayMs);
    else if (key == directive::listcrcDelayMs)
        count(s.listcrcDelayMs);
    else if (key == directive::verifysetsCase)
        s.verifysetsCase = value == "lower"   ? LetterCase::Lower
                           : value == "upper" ? LetterCase::Upper
                                              : LetterCase::Normal;
    else if (key == directive::eol)
        s.crlf = value == "crlf";
    else if (key == directive::dialect)
        s.dialect = value == "today" ? Dialect::Today : Dialect::Classic;
    else if (key == directive::versionAnswer)
        s.versionAnswer = unescape(value);
    else if (key == directive::versionDelayMs)
        count(s.versionDelayMs);
    else if (key == directive::listfullCutBytes)
        count(s.listfullCutBytes);
    else if (key == directive::listcrcCutBytes)
        count(s.listcrcCutBytes);
    else if (key == directive::runStderrLines)
        count(s.runStderrLines);
    else if (key == directive::runDip)
        count(s.runDip);
}

} // namespace

EmulatorData parseDataFile(std::string_view text)
{
    EmulatorData data;
    for (std::string_view line : split(text, '\n')) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        const std::vector<std::string_view> fields = split(line, '\t');
        if (fields[0] == "game") {
            if (fields.size() < 3 || fields[1].empty())
                continue;
            GameInfo game{std::string(fields[1]), std::string(fields[2]), {}, {}};
            for (std::size_t i = 3; i < fields.size(); ++i)
                if (auto rom = parseRom(fields[i]))
                    game.roms.push_back(std::move(*rom));
                else if (fields[i].substr(0, parentField.size()) == parentField)
                    game.parent = std::string(fields[i].substr(parentField.size()));
            data.games.push_back(std::move(game));
        } else {
            // A flag may stand alone on its line: no value means on.
            data.directives.push_back({std::string(fields[0]),
                                       fields.size() > 1 ? std::string(fields[1]) : std::string(),
                                       fields.size() > 2 ? std::string(fields[2]) : std::string()});
        }
    }
    return data;
}

std::optional<EmulatorData> loadDataFile(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return parseDataFile(text.str());
}

const GameInfo* findGame(const EmulatorData& data, std::string_view shortName)
{
    for (const GameInfo& game : data.games)
        if (equalsIgnoreCase(game.shortName, shortName))
            return &game;
    return nullptr;
}

std::vector<const GameInfo*> selectGames(const EmulatorData& data, std::string_view pattern)
{
    std::vector<const GameInfo*> games;
    for (const GameInfo& game : data.games)
        if (pattern.empty() || wildcardMatch(pattern, game.shortName))
            games.push_back(&game);
    return games;
}

Settings settingsFor(const EmulatorData& data, std::string_view game)
{
    Settings settings;
    for (const DirectiveLine& d : data.directives)
        if (d.game.empty() || (!game.empty() && equalsIgnoreCase(d.game, game)))
            apply(settings, d.key, d.value);
    return settings;
}

} // namespace zefrin::standin
