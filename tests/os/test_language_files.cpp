// The shipped language files: a program that starts with them must have a text for every key.

#include "core/storage/Config.h"
#include "core/storage/IniFile.h"

#include <gtest/gtest.h>

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

TEST(LanguageFiles, EveryKeyHasATextInEveryShippedLanguage)
{
    for (const char* file : {"resources/language.qmxII", "resources/languages/Deutsch/language.qmxII"}) {
        const std::string path = sourceFile(file);
        for (const qmx::config::TextInfo& text : qmx::config::allTexts())
            EXPECT_FALSE(qmx::ini::readValue(path, text.section, text.key).empty()) << file << " " << text.key;
        // Joined to the program's name, so it needs its quoted leading blank.
        EXPECT_EQ(qmx::ini::readValue(path, "language", "ProgramOpen").substr(0, 1), " ");
    }
    // The files are Windows-1252: a German letter comes out as UTF-8.
    EXPECT_EQ(qmx::ini::readValue(sourceFile("resources/languages/Deutsch/language.qmxII"), "Language", "Credits"),
              u8"Zur\u00fcck");
}
