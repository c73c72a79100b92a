#include "core/os/Os.h"

#include "core/storage/IniFile.h"
#include "core/storage/ProgramFiles.h"
#include "support/OsTestDir.h"

#include <gtest/gtest.h>

namespace os = qmx::os;

// A map folder as the folder list sees it: folders sorted without regard to case, a folder named like a map among
// them, hidden ones left out. (The probe for a folder's files: the window's tests of the map folder it restores,
// with folders or hidden files only; for one file: below.)
TEST(Files, SubdirectoriesOfAMapFolder)
{
    qmxtest::OsTestDir dir;
    for (const char* sub : {"maps/dir.vmf", "maps/Zeta", "maps/alpha", "maps/.hidden dir"})
        dir.mkdir(sub);
    EXPECT_EQ(os::subdirectories(dir.path("maps")).names, (std::vector<std::string>{"alpha", "dir.vmf", "Zeta"}));
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
