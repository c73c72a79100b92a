#include "core/os/Os.h"

#include "core/storage/IniFile.h"
#include "core/storage/ProgramFiles.h"
#include "support/OsTestDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace os = qmx::os;
using Names = std::vector<std::string>;

// A map folder as the probe and the browsers see it: maps, other files, a folder named like a map, hidden entries.
TEST(Files, ProbeAndListingsOfAMapFolder)
{
    qmxtest::OsTestDir dir;
    for (const char* sub : {"maps/dir.vmf", "maps/Zeta", "maps/alpha", "maps/.hidden dir"})
        dir.mkdir(sub);
    for (const char* file :
         {"maps/.hidden.vmf", u8"maps/B \u00e4.VMF", "maps/a.vmf", "maps/notes.txt", "maps/a.vmf.bak"})
        dir.write(file, "x");
    const std::string maps = dir.path("maps");
    const Names eitherMap = {"a.vmf", u8"B \u00e4.VMF"}; // the directory order decides which
    const std::pair<std::string, Names> probes[] = {{maps + "\\*.vmf", eitherMap},
                                                    {maps + "/*.VMF", eitherMap},
                                                    {maps + "\\A.VMF", {"a.vmf"}},
                                                    {maps + "\\n?tes.*", {"notes.txt"}},
                                                    {maps + "\\dir.vmf", {""}},
                                                    {maps + "\\.hidden.vmf", {""}},
                                                    {maps + "\\*.xyz", {""}},
                                                    {maps + "\\", {""}},
                                                    {dir.path("no such dir") + "\\*.vmf", {""}},
                                                    {"Q:\\nowhere\\*.vmf", {""}},
                                                    {"", {""}}};
    for (const auto& [pattern, acceptable] : probes) {
        const std::string found = os::probeFirstFile(pattern);
        EXPECT_NE(std::find(acceptable.begin(), acceptable.end(), found), acceptable.end()) << pattern << ": " << found;
    }
    EXPECT_EQ(os::subdirectories(maps).names, (Names{"alpha", "dir.vmf", "Zeta"})); // sorted without regard to case
}

TEST(Files, ShortPathAndCopy)
{
    qmxtest::OsTestDir dir;
    dir.mkdir("sdk dir/bin");
    const std::string sdk = dir.path("sdk dir/bin"), longName(180 - dir.path().size(), 'x');
    dir.mkdir(longName);
    EXPECT_FALSE(os::getShortPath(sdk).empty());
    EXPECT_EQ(os::getShortPath(dir.path("no such dir")), "");
    EXPECT_EQ(os::getShortPath(""), "");
#ifdef _WIN32
    // The short form of a long path is short enough, and has no blanks.
    EXPECT_FALSE(os::getShortPath(dir.path(longName)).empty());
    EXPECT_EQ(os::getShortPath(dir.path(longName)).find(' '), std::string::npos);
#else
    EXPECT_EQ(os::getShortPath(dir.path(longName)), ""); // does not fit
    EXPECT_EQ(os::getShortPath(sdk), sdk);
#endif
    // A copy replaces the target; a failed one leaves it alone.
    dir.write("a.bsp", std::string("new\0bytes", 9));
    dir.write(u8"sdk dir/\u00f6.bsp", "old old old");
    EXPECT_TRUE(os::copyFile(dir.path("a.bsp"), dir.path(u8"sdk dir/\u00f6.bsp")));
    EXPECT_FALSE(os::copyFile(dir.path("missing.bsp"), dir.path(u8"sdk dir/\u00f6.bsp")));
    EXPECT_FALSE(os::copyFile(dir.path("a.bsp"), dir.path("missing dir/a.bsp")));
    EXPECT_EQ(dir.read(u8"sdk dir/\u00f6.bsp"), std::string("new\0bytes", 9));
    EXPECT_EQ(dir.entryCount(), 3); // the source stays, and no folder was made
}

// The probe and every read and write meet the same file, whatever the letter case of its name on disk
// (Windows ignores it; on Linux the OS layer does the same).
TEST(Files, OneFileWhateverTheLetterCase)
{
    qmxtest::OsTestDir dir;
    dir.write("Language.qmxII", "[Language]\r\nFrame2=Karten\r\n");
    dir.write("SETTINGS.QMXII", "[settings]\r\nLastDir=C:\\maps\r\n");
    const std::string language = dir.path("language.qmxII"), settings = dir.path("settings.qmxII");
    EXPECT_EQ(os::probeFirstFile(language), "Language.qmxII");
    EXPECT_TRUE(os::fileExists(language));
    EXPECT_EQ(qmx::ini::readValue(language, "language", "Frame2"), "Karten");
    EXPECT_TRUE(qmx::ini::writeValue(settings, "settings", "LastFile", "a.vmf"));
    EXPECT_EQ(dir.read("SETTINGS.QMXII"), "[settings]\r\nLastDir=C:\\maps\r\nLastFile=a.vmf\r\n");
    // A file that is not there yet is made under the name asked for.
    EXPECT_TRUE(qmx::ini::writeValue(dir.path("help.ini"), "s", "k", "v"));
    EXPECT_EQ(dir.read("help.ini"), "[s]\r\nk=v\r\n");
    EXPECT_EQ(dir.entryCount(), 3);
#ifndef _WIN32
    // The program's own files are named as the directory spells them.
    qmx::os::overrideProgramDirectory(dir.path());
    const std::string prefix = os::programDirectory() + "\\";
    EXPECT_EQ(qmx::languageFilePath(), prefix + "Language.qmxII");
    EXPECT_EQ(qmx::settingsFilePath(), prefix + "SETTINGS.QMXII");
    EXPECT_EQ(qmx::helpFilePath(), prefix + "help.chm");
    qmx::os::overrideProgramDirectory({});
    // Two spellings and none exact: byte order picks one, the same for the probe and the reads. The exact
    // spelling wins over both.
    dir.write("language.QMXII", "[Language]\r\nFrame2=Maps\r\n");
    EXPECT_EQ(os::matchFileNameCase(language), dir.path("Language.qmxII"));
    EXPECT_EQ(os::probeFirstFile(language), "Language.qmxII");
    EXPECT_EQ(qmx::ini::readValue(language, "language", "Frame2"), "Karten");
    dir.write("language.qmxII", "[Language]\r\nFrame2=Exact\r\n");
    EXPECT_EQ(os::probeFirstFile(language), "language.qmxII");
    EXPECT_EQ(qmx::ini::readValue(language, "language", "Frame2"), "Exact");
#endif
}
