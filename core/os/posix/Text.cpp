#include "core/os/Os.h"
#include "core/os/Utf8.h"

#include <cstdint>

// Linux has no ANSI code page of its own; Wine's default for these programs is Windows-1252.

namespace qmx::os {

namespace {

// Code points of the bytes 0x80-0x9F. The five bytes that Windows-1252 leaves undefined map to the
// C1 control of the same number, as MultiByteToWideChar does, so they survive a round trip.
constexpr std::uint16_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char codePointToAnsi(std::uint32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i) {
        if (kHighTable[i] == cp)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

std::string toAnsi(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        std::uint32_t cp = 0;
        // A byte that starts no character becomes one '?', and decoding goes on at the next byte.
        out += nextUtf8(utf8, i, cp) ? codePointToAnsi(cp) : '?';
    }
    return out;
}

std::string fromAnsi(std::string_view ansi)
{
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 4);
    for (char ch : ansi) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out += ch;
        else if (b < 0xA0)
            appendUtf8(out, kHighTable[b - 0x80]);
        else
            appendUtf8(out, b);
    }
    return out;
}

} // namespace qmx::os
