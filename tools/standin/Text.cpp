#include "Text.h"

#include <cstdio>

namespace zefrin::standin {
namespace {

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::string toLower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = lower(c);
    return out;
}

std::string toUpper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = upper(c);
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

bool wildcardMatch(std::string_view pattern, std::string_view text)
{
    // Greedy matching with one back-tracking point: the position after the last '*'.
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(text[t]))) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::string padRight(std::string_view text, std::size_t width)
{
    std::string out(text);
    if (out.size() < width)
        out.append(width - out.size(), ' ');
    return out;
}

std::string padLeft(std::string_view text, std::size_t width)
{
    return text.size() < width ? std::string(width - text.size(), ' ').append(text)
                               : std::string(text);
}

std::string hex8(std::uint64_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(value & 0xFFFFFFFFU));
    return text;
}

std::string crcText(std::uint32_t crc)
{
    return "CRC(" + hex8(crc) + ")";
}

} // namespace zefrin::standin
