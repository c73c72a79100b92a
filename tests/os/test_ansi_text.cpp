#include "toolkit/os/Os.h"

#include <gtest/gtest.h>

using qmx::os::fromAnsi;
using qmx::os::toAnsi;

TEST(AnsiText, KnownLetters)
{
    const struct
    {
        std::string utf8;
        std::string ansi;
    } cases[] = {
        {"plain ASCII 123", "plain ASCII 123"},
        {u8"Gr\u00f6\u00dfe",
         "Gr\xf6\xdf"
         "e"},
        {u8"\u20ac\u201a\u0192\u201e\u2026", "\x80\x82\x83\x84\x85"},
        {u8"\u0160\u0152\u017d\u2122\u0178", "\x8a\x8c\x8e\x99\x9f"},
        {u8"\u00a0\u00ff", "\xa0\xff"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toAnsi(c.utf8), c.ansi) << c.utf8;
        EXPECT_EQ(fromAnsi(c.ansi), c.utf8) << c.utf8;
    }
}

TEST(AnsiText, LettersWithoutAMappingBecomeQuestionMarks)
{
    const struct
    {
        std::string utf8;
        std::string ansi;
    } cases[] = {
        {u8"\u65e5\u672c", "??"},
#ifdef _WIN32
        {u8"x\U0001F600y", "x??y"}, // Windows replaces each half of the surrogate pair
#else
        {u8"x\U0001F600y", "x?y"},
#endif
        {u8"\u0100", "?"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(toAnsi(c.utf8), c.ansi) << c.utf8;
}

#ifndef _WIN32
// Broken UTF-8 comes from outside (environment, file names); it must never crash or swallow text.
TEST(AnsiText, BrokenUtf8)
{
    const struct
    {
        std::string utf8;
        std::string ansi;
    } cases[] = {
        {"\xC3", "?"},
        {"a\xC3", "a?"},
        {"\xC3(", "?("},
        {"\xE2\x82", "??"},
        {"\xC0\xAF", "??"}, // overlong slash
        {"\xED\xA0\x80", "???"}, // surrogate
        {"\xF4\x90\x80\x80", "????"}, // beyond U+10FFFF
        {"\xFF\xFE", "??"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(toAnsi(c.utf8), c.ansi);
}
#endif

TEST(AnsiText, EveryByteSurvivesARoundTrip)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(toAnsi(fromAnsi(all)), all);
}
