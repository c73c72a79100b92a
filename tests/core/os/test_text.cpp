// Texts: the ANSI code page, the shipped language files, and the compile time in numbers and words.

#include "core/compile/BatchFile.h"
#include "core/compile/DurationText.h"
#include "core/os/Os.h"
#include "core/storage/Config.h"
#include "core/storage/IniFile.h"

#include "support/OsTestDir.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace qmx::compile;
using qmx::os::fromAnsi;
using qmx::os::toAnsi;

TEST(AnsiText, BothWays)
{
    const std::tuple<std::string, std::string, bool> cases[] = {
        // UTF-8, ANSI, and whether it comes back
        {u8"Gr\u00f6\u00df", "Gr\xf6\xdf", true},
        {u8"\u20ac\u201a\u0192\u0160\u0152\u017d\u2122\u0178\u00a0\u00ff", "\x80\x82\x83\x8a\x8c\x8e\x99\x9f\xa0\xff",
         true},
        {std::string("a\0b", 3), std::string("a\0b", 3), true},
        {u8"\u65e5\u672c", "??", false}, // no place in the code page: one question mark a letter
        {u8"\u0100", "?", false},
#ifdef _WIN32
        {u8"x\U0001F600y", "x??y", false}, // Windows replaces each half of the surrogate pair
#else
        {u8"x\U0001F600y", "x?y", false},
        // Broken UTF-8 comes from outside (environment, file names): never a crash, never swallowed text.
        {"a\xC3(", "a?(", false},
        {"\xC0\xAF", "??", false}, // overlong slash
        {"\xED\xA0\x80", "???", false}, // surrogate
        {"\xF4\x90\x80\x80", "????", false}, // beyond U+10FFFF
#endif
    };
    for (const auto& [utf8, ansi, comesBack] : cases) {
        EXPECT_EQ(toAnsi(utf8), ansi) << utf8;
        if (comesBack) {
            EXPECT_EQ(fromAnsi(ansi), utf8) << utf8;
        }
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

// The measured ten-thousandths of a second go to whole seconds (halves to the even neighbour, clamped to
// 32 bits), then to h:mm.ss and to a sentence in the unit words, whose empty words leave their blanks.
TEST(ElapsedTime, RoundedNumericAndInWords)
{
    const std::pair<std::int64_t, std::int32_t> rounding[] = {
        {902000, 90}, {25000, 2}, {35000, 4}, {5000, 0},  {15000, 2},   {24999, 2},
        {25001, 3},   {0, 0},     {9999, 1},  {-5000, 0}, {-15000, -2}, {-25001, -3},
    };
    for (const auto& [tenThousandths, seconds] : rounding)
        EXPECT_EQ(roundToWholeSeconds(tenThousandths), seconds) << tenThousandths;
    EXPECT_EQ(roundToWholeSeconds(INT64_MAX), INT32_MAX);
    EXPECT_EQ(roundToWholeSeconds(INT64_MIN), INT32_MIN);
    const DurationWords english{"hour", "minute", "second", "and"}, german{"Stunde", "Minute", "Sekunde", "und"},
        noAnd{"hour", "minute", "second", ""}, noSecond{"hour", "minute", "", "and"}, none{};
    const std::tuple<std::int32_t, const char*, const DurationWords*, const char*> cases[] = {
        {0, "0:00.00", &english, "0 seconds"},
        {1, "0:00.01", &english, "1 second"},
        {60, "0:01.00", &english, "1 minute and 0 seconds"},
        {61, "0:01.01", &english, "1 minute and 1 second"},
        {3600, "1:00.00", &english, "1 hour, 0 minutes, and 0 seconds"},
        {3661, "1:01.01", &english, "1 hour, 1 minute, and 1 second"},
        {7322, "2:02.02", &english, "2 hours, 2 minutes, and 2 seconds"},
        {360000, "100:00.00", &english, "100 hours, 0 minutes, and 0 seconds"},
        {INT32_MAX, "596523:14.07", &english, "596523 hours, 14 minutes, and 7 seconds"},
        {7201, "2:00.01", &german, "2 Stundes, 0 Minutes, und 1 Sekunde"},
        {61, "0:01.01", &noAnd, "1 minute  1 second"},
        {2, "0:00.02", &noSecond, "2 s"},
        {1, "0:00.01", &noSecond, "1 "},
        {3600, "1:00.00", &none, "1 , 0 s,  0 s"},
    };
    for (const auto& [seconds, numeric, words, sentence] : cases) {
        EXPECT_EQ(numericDuration(seconds), numeric) << seconds;
        EXPECT_EQ(describeDuration(numeric, *words), sentence) << numeric;
    }
}

// The unit words come from the language file on every call: each row writes a new file first.
TEST(ElapsedTime, UnitWordsAreReadFromTheLanguageFileOnEveryCall)
{
    qmxtest::OsTestDir dir;
    qmx::os::overrideProgramDirectory(dir.path());
    const std::pair<const char*, const char*> cases[] = {
        {"[Language]\r\nhour=hour\r\nminute=minute\r\nsecond=second\r\nand=and\r\n", "1 hour, 1 minute, and 1 second"},
        {"[LANGUAGE]\r\nhour=Stunde\r\nminute=Minute\r\nsecond=Sekunde\r\nand=und\r\n",
         "1 Stunde, 1 Minute, und 1 Sekunde"},
    };
    for (const auto& [file, words] : cases) {
        dir.write("language.qmxII", file);
        EXPECT_EQ(formatElapsedTime(3661, true), words) << file;
    }
    EXPECT_EQ(formatElapsedTime(3661, false), "1:01.01");
    qmx::os::overrideProgramDirectory({});
}
