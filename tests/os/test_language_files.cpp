#include "storage/IniFile.h"
#include "storage/LanguageKeys.h"
#include "storage/SettingsKeys.h"
#include "toolkit/os/Ascii.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string sourceFile(const std::string& relative)
{
    std::string here = __FILE__;
    here.erase(here.find_last_of("/\\") + 1);
#ifdef _WIN32
    if (!here.empty() && here[0] == '/')
        here = "Z:" + here; // built on Linux, run under Wine
#endif
    return here + "../../" + relative;
}

} // namespace

TEST(LanguageFiles, EveryKeyHasAText)
{
    for (const char* file : {"resources/language.qmxII", "resources/languages/Deutsch/language.qmxII"}) {
        const std::string path = sourceFile(file);
        for (const char* key : qmx::language::kAllKeys) {
            EXPECT_FALSE(qmx::ini::readValue(path, qmx::language::kSection, key).empty()) << file << " " << key;
            // Both spellings of the section reach the same text.
            EXPECT_EQ(qmx::ini::readValue(path, qmx::language::kSection, key),
                      qmx::ini::readValue(path, qmx::language::kSectionCapital, key));
        }
        // Joined to the program's name, so it needs its quoted leading blank.
        EXPECT_EQ(qmx::ini::readValue(path, qmx::language::kSection, qmx::language::kProgramOpen).front(), ' ');
    }
}

TEST(LanguageFiles, EnglishUnitWordsAndGermanLetters)
{
    const std::string en = sourceFile("resources/language.qmxII");
    EXPECT_EQ(qmx::ini::readValue(en, "Language", qmx::language::kHour), "hour");
    EXPECT_EQ(qmx::ini::readValue(en, "Language", qmx::language::kMinute), "minute");
    EXPECT_EQ(qmx::ini::readValue(en, "Language", qmx::language::kSecond), "second");
    EXPECT_EQ(qmx::ini::readValue(en, "language", qmx::language::kAnd), "and");
    EXPECT_EQ(qmx::ini::readValue(en, "Language", qmx::language::kFrame3), "Options");
    // Windows-1252 in the file, UTF-8 out.
    const std::string de = sourceFile("resources/languages/Deutsch/language.qmxII");
    EXPECT_EQ(qmx::ini::readValue(de, "Language", qmx::language::kCredits), u8"Zur\u00fcck");
}

TEST(KeyTables, NamesAreDistinctAndPresetsNumbered)
{
    const auto& keys = qmx::language::kAllKeys;
    EXPECT_EQ(std::size(keys), 21u);
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        for (std::size_t j = i + 1; j < std::size(keys); ++j)
            EXPECT_FALSE(qmx::os::iequals(keys[i], keys[j])) << keys[i]; // the reader ignores case
    }
    EXPECT_STREQ(qmx::settings::presetKey(1), "preset1");
    EXPECT_STREQ(qmx::settings::presetKey(4), "preset4");
    EXPECT_EQ(qmx::settings::presetKey(0), nullptr);
    EXPECT_EQ(qmx::settings::presetKey(5), nullptr);
}
