#include "core/os/Os.h"

#include "core/storage/IniFile.h"
#include "core/storage/ProgramFiles.h"
#include "support/OsTestDir.h"

#include <gtest/gtest.h>

namespace os = qmx::os;

// A map folder as the probe and the browsers see it: maps, other files, a folder named like a map, hidden entries.
// (The copy: qmxcompile's and the window's compile tests.)
TEST(Files, ProbeAndListingsOfAMapFolder)
{
    qmxtest::OsTestDir dir;
    for (const char* sub : {"maps/dir.vmf", "maps/Zeta", "maps/alpha", "maps/.hidden dir"})
        dir.mkdir(sub);
    for (const char* file : {"maps/.hidden.vmf", u8"maps/B \u00e4.VMF", "maps/a.vmf", "maps/notes.txt", "maps/a.vmf.b"})
        dir.write(file, "x");
    const std::string maps = dir.path("maps"), either = u8"a.vmf|B \u00e4.VMF"; // the directory order picks one
    const std::pair<const char*, std::string> probes[] = {
        // the pattern in the maps folder; what is found ("": nothing)
        {"\\*.vmf", either}, {"/*.VMF", either},    {"\\A.VMF", "a.vmf"}, {"\\n?tes.*", "notes.txt"},
        {"\\dir.vmf", ""},   {"\\.hidden.vmf", ""}, {"\\*.xyz", ""},      {"\\", ""},
    };
    for (const auto& [pattern, expected] : probes) {
        const std::string found = os::probeFirstFile(maps + pattern);
        EXPECT_NE(("|" + expected + "|").find("|" + found + "|"), std::string::npos) << pattern << ": " << found;
    }
    // Sorted without regard to case. (A folder that is not there, or on no drive: the browsers' test.)
    EXPECT_EQ(os::subdirectories(maps).names, (std::vector<std::string>{"alpha", "dir.vmf", "Zeta"}));
}

// The probe and every read and write meet the same file, whatever the letter case of its name on disk
// (Windows ignores it; on Linux the OS layer does the same).
TEST(Files, OneFileWhateverTheLetterCase)
{
    qmxtest::OsTestDir dir;
    dir.write("Language.qmxII", "[s]\r\nFrame2=Karten\r\n");
    dir.write("SETTINGS.QMXII", "[settings]\r\nLastDir=C:\\maps\r\n");
    const std::string language = dir.path("language.qmxII");
    const auto seen = [&] { return os::probeFirstFile(language) + "|" + qmx::ini::readValue(language, "s", "Frame2"); };
    EXPECT_EQ(seen(), "Language.qmxII|Karten");
    EXPECT_TRUE(os::fileExists(language));
    EXPECT_TRUE(qmx::ini::writeValue(dir.path("settings.qmxII"), "settings", "LastFile", "a.vmf"));
    EXPECT_EQ(dir.read("SETTINGS.QMXII"), "[settings]\r\nLastDir=C:\\maps\r\nLastFile=a.vmf\r\n");
    // A file that is not there yet is made under the name asked for.
    EXPECT_TRUE(qmx::ini::writeValue(dir.path("help.ini"), "s", "k", "v"));
    EXPECT_EQ(dir.read("help.ini"), "[s]\r\nk=v\r\n");
    EXPECT_EQ(dir.entryCount(), 3);
#ifndef _WIN32
    // The program's own files are named as the directory spells them.
    os::overrideProgramDirectory(dir.path());
    EXPECT_EQ(qmx::languageFilePath() + "|" + qmx::settingsFilePath() + "|" + qmx::helpFilePath(),
              os::programDirectory() + "\\Language.qmxII|" + os::programDirectory() + "\\SETTINGS.QMXII|"
                  + os::programDirectory() + "\\help.chm");
    os::overrideProgramDirectory({});
    // Two spellings and none exact: byte order picks one, the same for the probe and the reads. The exact
    // spelling wins over both.
    dir.write("language.QMXII", "[s]\r\nFrame2=Maps\r\n");
    EXPECT_EQ(os::matchFileNameCase(language), dir.path("Language.qmxII"));
    EXPECT_EQ(seen(), "Language.qmxII|Karten");
    dir.write("language.qmxII", "[s]\r\nFrame2=Exact\r\n");
    EXPECT_EQ(seen(), "language.qmxII|Exact");
#endif
}
