// Texts: the ANSI code page and the shipped language files.

#include "core/os/Os.h"
#include "core/storage/Config.h"
#include "core/storage/IniFile.h"

#include <gtest/gtest.h>

using qmx::os::fromAnsi;
using qmx::os::toAnsi;

TEST(AnsiText, BothWays)
{
    const std::tuple<std::string, std::string, bool> cases[] = {
        // UTF-8, ANSI, and whether it comes back
        {u8"\u20ac\u201a\u0192\u0160\u0152\u017d\u2122\u0178\u00a0\u00ff", "\x80\x82\x83\x8a\x8c\x8e\x99\x9f\xa0\xff",
         true},
        {std::string("a\0b", 3), std::string("a\0b", 3), true},
        {u8"\u65e5\u672c", "??", false}, // no place in the code page: one question mark a letter
#ifndef _WIN32
        // Broken UTF-8 comes from outside (environment, file names): never a crash, never swallowed text. A cut
        // sequence, an overlong slash, a surrogate, beyond U+10FFFF.
        {"a\xC3(|\xC0\xAF|\xED\xA0\x80|\xF4\x90\x80\x80", "a?(|??|???|????", false},
#endif
    };
    for (const auto& [utf8, ansi, comesBack] : cases) {
        EXPECT_EQ(toAnsi(utf8), ansi) << utf8;
        EXPECT_TRUE(!comesBack || fromAnsi(ansi) == utf8) << utf8;
    }
    // Every byte has a place in the code page, so every byte survives the trip through UTF-8.
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(toAnsi(fromAnsi(all)), all);
}

// A program that starts with the shipped language files has a text for every key.
TEST(LanguageFiles, EveryKeyHasATextInEveryShippedLanguage)
{
    for (const char* file : {"/resources/language.qmxII", "/resources/languages/Deutsch/language.qmxII"}) {
        const std::string path = QMX_SOURCE_DIR + std::string(file);
        for (const qmx::config::TextInfo& text : qmx::config::allTexts())
            EXPECT_FALSE(qmx::ini::readValue(path, text.section, text.key).empty()) << file << " " << text.key;
        // Joined to the program's name, so it needs its quoted leading blank.
        EXPECT_EQ(qmx::ini::readValue(path, "language", "ProgramOpen").substr(0, 1), " ");
    }
    // The files are Windows-1252: a German letter comes out as UTF-8.
    EXPECT_EQ(qmx::ini::readValue(QMX_SOURCE_DIR "/resources/languages/Deutsch/language.qmxII", "Language", "Credits"),
              u8"Zur\u00fcck");
}
