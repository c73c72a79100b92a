// The main window's start-up and shut-down, end to end on the real window.

#include "StartUpFixture.h"

#include "aux_windows/Form2.h"
#include "main_window/CentreWindow.h"
#include "main_window/Form1.h"
#include "support/Recorders.h"
#include "toolkit/Application.h"
#include "toolkit/CheckBox.h"
#include "toolkit/DirList.h"
#include "toolkit/DriveList.h"
#include "toolkit/FileList.h"
#include "toolkit/os/Os.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

namespace qmxtest {
namespace {

const char* const kCriticalPrompt = "Language-File not found. Program closed due to missing Language Pack.";
const char* const kCriticalTitle = "QMX GUI II - Critical Error";

// Another copy of the program for the sandbox's program directory: a child process that takes the
// instance lock and holds it until this object goes away.
class OtherInstance
{
public:
    explicit OtherInstance(const QString& programDir)
    {
        int ready[2];
        int release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            qmx::os::overrideProgramDirectory(programDir.toStdString());
            const char held = qmx::os::anotherInstanceRunning() ? '0' : '1';
            (void)!::write(ready[1], &held, 1);
            char byte;
            (void)!::read(release[0], &byte, 1); // returns when the parent closes its end
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        m_release = release[1];
        char held = '0';
        m_holding = ::read(ready[0], &held, 1) == 1 && held == '1';
        ::close(ready[0]);
    }
    ~OtherInstance()
    {
        if (m_release >= 0)
            ::close(m_release);
        if (m_pid > 0)
            ::waitpid(m_pid, nullptr, 0);
    }
    bool holding() const { return m_holding; }

private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_holding = false;
};

class NoLanguageFile : public StartUpTest
{
protected:
    NoLanguageFile()
        : StartUpTest(false)
    {
    }
};

TEST_F(NoLanguageFile, ShowsOnlyTheCriticalBoxAndEndsWithoutWriting)
{
    writeSettings("[settings]\r\nLastUsedSettings=keep\r\n");
    Form1& form = start();

    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, QString::fromLatin1(kCriticalPrompt));
    EXPECT_EQ(messages()[0].style, 16);
    EXPECT_EQ(messages()[0].title, QString::fromLatin1(kCriticalTitle));
    EXPECT_EQ(endProgramCount(), 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(folderWindow(), nullptr);
    EXPECT_EQ(settingsText(), QByteArray("[settings]\r\nLastUsedSettings=keep\r\n"));
}

TEST_F(NoLanguageFile, IsReportedBeforeAnotherInstance)
{
    OtherInstance other(m_sandbox.hostDir());
    ASSERT_TRUE(other.holding());
    start();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].title, QString::fromLatin1(kCriticalTitle));
}

TEST_F(StartUpTest, SecondInstanceShowsProgramOpenAndEnds)
{
    OtherInstance other(m_sandbox.hostDir());
    ASSERT_TRUE(other.holding());
    writeSettings("[settings]\r\nLastUsedSettings=keep\r\n");
    Form1& form = start();

    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, qmx::ExecutableName() + QStringLiteral(" is already running."));
    EXPECT_EQ(messages()[0].style, 0);
    EXPECT_EQ(messages()[0].title, QStringLiteral("QMX GUI II")); // the application's title
    EXPECT_EQ(endProgramCount(), 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(settingsText(), QByteArray("[settings]\r\nLastUsedSettings=keep\r\n"));
}

TEST_F(StartUpTest, CaptionsComeFromTheLanguageFileInOrder)
{
    m_sandbox.writeFile(QStringLiteral("language.qmxII"), languageFileText());
    Form1& form = start();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(form.Frame2->title(), QStringLiteral("Maps"));
    EXPECT_EQ(form.Frame4->title(), QStringLiteral("Game"));
    EXPECT_EQ(form.MenuCompile->text(), QStringLiteral("Build"));
    EXPECT_EQ(form.presets->title(), QStringLiteral("Sets"));
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(form.loadpreset[slot]->text(), QStringLiteral("Set %1").arg(slot + 1));
        EXPECT_EQ(form.savepreset[slot]->text(), QStringLiteral("Set %1").arg(slot + 1));
    }
    EXPECT_EQ(form.presetsave->title(), QStringLiteral("Store"));
    EXPECT_EQ(form.presetload->title(), QStringLiteral("Fetch"));
    EXPECT_EQ(form.CopyFile->text(), QStringLiteral("Copy it"));
    EXPECT_EQ(form.SSTab1->tabText(0), QStringLiteral("BSP-Options"));
    EXPECT_EQ(form.SSTab1->tabText(1), QStringLiteral("VIS-Options"));
    EXPECT_EQ(form.SSTab1->tabText(2), QStringLiteral("RAD-Options"));
}

TEST_F(StartUpTest, WindowIsCentredOnThePrimaryScreen)
{
    EnvGuard sdk("sourcesdk", QByteArray("C:\\sdk"));
    Form1& form = start();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // The frame is unknown before the first show, so the size centred is the window's own.
    EXPECT_EQ(form.frameGeometry().x(), screen.x() + qmx::CentredOffset(screen.width(), form.width()));
    EXPECT_EQ(form.frameGeometry().y(), screen.y() + qmx::CentredOffset(screen.height(), form.height()));
}

TEST_F(StartUpTest, MissingKeysGiveEmptyCaptionsAndFixedPieces)
{
    m_sandbox.writeFile(QStringLiteral("language.qmxII"), "[language]\r\n");
    Form1& form = start();
    EXPECT_EQ(form.Frame2->title(), QString());
    EXPECT_EQ(form.loadpreset[2]->text(), QStringLiteral(" 3"));
    EXPECT_EQ(form.SSTab1->tabText(1), QStringLiteral("VIS-"));
}

TEST_F(StartUpTest, EverySourceEmptyShowsTheFolderWindowAndRestoresBehindIt)
{
    makeDirOnDrive('C', QStringLiteral("maps"));
    writeFileOnDrive('C', QStringLiteral("maps/a.vmf"));
    writeSettings("[settings]\r\nLastDir=C:\\maps\r\n");
    Form1& form = start();

    Form2* folder = folderWindow();
    ASSERT_NE(folder, nullptr);
    EXPECT_TRUE(folder->isVisible());
    EXPECT_EQ(folder->windowTitle(), QStringLiteral("Please select your SourceSDK\\bin-Directory"));
    EXPECT_EQ(folder->Command1->text(), QStringLiteral("Done!"));
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.SDKDir.isEmpty());
    EXPECT_EQ(form.Label1->text(), QString());
    EXPECT_EQ(form.Dir1->Path(), QStringLiteral("C:\\maps"));
    EXPECT_EQ(form.SSTab1->tabText(2), QStringLiteral("RAD-Options"));
    EXPECT_TRUE(messages().empty());
}

TEST_F(StartUpTest, FolderWindowDoneStoresTheChoiceForThisAndTheNextRun)
{
    makeDirOnDrive('D', QStringLiteral("sdk/bin"));
    Form1& form = start();
    Form2* folder = folderWindow();
    ASSERT_NE(folder, nullptr);
    folder->Drive1->setDrive(QStringLiteral("d:"));
    EXPECT_EQ(folder->Dir1->Path(), QStringLiteral("D:\\"));
    folder->Dir1->setPath(QStringLiteral("\\sdk\\bin"));
    QTest::mouseClick(folder->Command1, Qt::LeftButton);

    EXPECT_FALSE(folder->isVisible());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.SDKDir, QStringLiteral("D:\\sdk\\bin"));
    EXPECT_EQ(form.Label1->text(), QStringLiteral("D:\\sdk\\bin"));
    EXPECT_TRUE(settingsText().contains("SDKDir=D:\\sdk\\bin"));

    restart();
    EXPECT_EQ(folderWindow(), nullptr);
    EXPECT_EQ(m_form->SDKDir, QStringLiteral("D:\\sdk\\bin"));
    EXPECT_TRUE(m_form->isVisible());
}

TEST_F(StartUpTest, ClosingTheFolderWindowEndsWithoutStoring)
{
    writeSettings("[settings]\r\nLastUsedSettings=keep\r\n");
    start();
    Form2* folder = folderWindow();
    ASSERT_NE(folder, nullptr);
    folder->close();
    EXPECT_EQ(endProgramCount(), 1);
    EXPECT_EQ(settingsText(), QByteArray("[settings]\r\nLastUsedSettings=keep\r\n"));
}

TEST_F(StartUpTest, OptionsSurviveShutDownAndTheNextStart)
{
    EnvGuard sdk("sourcesdk", QByteArray("C:\\sdk"));
    Form1& first = start();
    ASSERT_TRUE(first.isVisible());
    first.VIS->setValue(1);
    first.CopyFile->setValue(1);
    first.Form1_Form_Unload();
    EXPECT_EQ(endProgramCount(), 1);
    const QByteArray stored = settingsText();
    EXPECT_TRUE(stored.contains("LastUsedSettings=0,1,0|")) << stored.constData();
    EXPECT_TRUE(stored.trimmed().endsWith("|1")) << stored.constData();

    Form1& second = start();
    EXPECT_EQ(second.VIS->Value(), 1);
    EXPECT_EQ(second.BSP->Value(), 0);
    EXPECT_EQ(second.CopyFile->Value(), 1);
}

TEST_F(StartUpTest, DamagedSettingsFileStillGivesTheDefaultWindow)
{
    EnvGuard sdk("sourcesdk", QByteArray("C:\\sdk"));
    static const char binary[] = "\0\0\xff\xfe[settings]\r\nLastUsedSettings=1|x|,,,|";
    const QByteArray damaged[] = {
        QByteArray(),
        QByteArray("[settings"),
        QByteArray(binary, sizeof binary - 1),
        QByteArray("[settings]\r\nLastUsedSettings=") + QByteArray(5000, '|') + "\r\nLastDir=" + QByteArray(3000, 'a'),
    };
    for (const QByteArray& text : damaged) {
        writeSettings(text);
        Form1& form = start();
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.BSP->Value(), 0);
        EXPECT_EQ(form.CopyFile->Value(), 0);
        EXPECT_EQ(form.SDKDir, QStringLiteral("C:\\sdk\\bin"));
    }
}

TEST_F(StartUpTest, MapBrowserIsRestoredOnlyFromADirectoryWithOrdinaryFiles)
{
    EnvGuard sdk("sourcesdk", QByteArray("C:\\sdk"));
    makeDirOnDrive('D', QStringLiteral("maps/work"));
    writeFileOnDrive('D', QStringLiteral("maps/work/b.VMF"));
    writeFileOnDrive('D', QStringLiteral("maps/work/a.vmf"));
    writeFileOnDrive('D', QStringLiteral("maps/work/notes.txt"));
    makeDirOnDrive('D', QStringLiteral("only dirs/sub"));
    makeDirOnDrive('D', QStringLiteral("only hidden"));
    writeFileOnDrive('D', QStringLiteral("only hidden/.x.vmf"));

    struct Case
    {
        const char* lastDir;
        const char* expectedPath; // nullptr: not restored
    } const cases[] = {
        {"D:\\maps\\work", "D:\\maps\\work"}, {"D:\\only dirs", nullptr},
        {"D:\\only hidden", nullptr},         {"D:\\missing", nullptr},
        {"Q:\\maps\\work", nullptr},          {"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lastDir);
        writeSettings(QByteArray("[settings]\r\nLastDir=") + c.lastDir + "\r\n");
        Form1& form = start();
        if (c.expectedPath == nullptr) {
            EXPECT_EQ(form.Dir1->Path(), QStringLiteral("C:\\"));
            continue;
        }
        EXPECT_EQ(form.Drive1->Drive(), QStringLiteral("d:"));
        EXPECT_EQ(form.Dir1->Path(), QString::fromLatin1(c.expectedPath));
        EXPECT_EQ(form.File1->Path(), QString::fromLatin1(c.expectedPath));
        ASSERT_EQ(form.File1->count(), 2);
        EXPECT_EQ(form.File1->item(0)->text(), QStringLiteral("a.vmf"));
        EXPECT_EQ(form.File1->item(1)->text(), QStringLiteral("b.VMF"));
        EXPECT_EQ(form.File1->FileName(), QString());
    }
}

TEST_F(StartUpTest, GameBrowserFallsBackToTheLauncherSteamapps)
{
    EnvGuard sdk("sourcesdk", QByteArray("C:\\sdk"));
    makeDirOnDrive('D', QStringLiteral("games/steam/steamapps/common"));
    makeDirOnDrive('C', QStringLiteral("mods"));
    writeFileOnDrive('C', QStringLiteral("mods/readme.txt"));

    struct Case
    {
        const char* launcher; // nullptr: no value in the registry
        const char* lastMapDir;
        const char* expectedDrive;
        const char* expectedPath;
    } const cases[] = {
        {"d:/games/steam/steam.exe", "", "d:", "D:\\games\\steam\\steamapps"},
        {"d:/games/steam/steam.exe", "C:\\mods", "c:", "C:\\mods"},
        {"d:/games/steam/steam.exe", "C:\\nothing", "d:", "D:\\games\\steam\\steamapps"},
        {"d:/nowhere/steam.exe", "", "d:", "D:\\"},
        {"d:/steam.ex", "", "c:", "C:\\"},
        {"q:/games/steam/steam.exe", "", "c:", "C:\\"},
        {nullptr, "", "c:", "C:\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.launcher ? c.launcher : "(none)");
        QFile::remove(m_prefix + QStringLiteral("/user.reg"));
        if (c.launcher)
            writeUserReg(QStringLiteral("Software\\Valve\\Steam"), QByteArray("\"SteamExe\"=\"") + c.launcher + "\"");
        writeSettings(QByteArray("[settings]\r\nLastMapDir=") + c.lastMapDir + "\r\n");
        Form1& form = start();
        EXPECT_EQ(form.Drive2->Drive(), QString::fromLatin1(c.expectedDrive));
        EXPECT_EQ(form.Dir2->Path(), QString::fromLatin1(c.expectedPath));
    }
}

TEST_F(StartUpTest, ClickingAMapStoresItAndTheNextStartReopensItsDirectory)
{
    EnvGuard sdk("sourcesdk", QByteArray("C:\\sdk"));
    makeDirOnDrive('D', QStringLiteral("my maps"));
    writeFileOnDrive('D', QStringLiteral("my maps/one.vmf"));
    writeFileOnDrive('D', QStringLiteral("my maps/two.vmf"));
    Form1& form = start();
    form.Drive1->setDrive(QStringLiteral("D:\\"));
    form.Dir1->setPath(QStringLiteral("\\my maps"));
    ASSERT_EQ(form.File1->count(), 2);
    QListWidget* list = form.File1;
    const QRect row = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());

    EXPECT_EQ(form.File1->FileName(), QStringLiteral("two.vmf"));
    const QByteArray stored = settingsText();
    const int file = stored.indexOf("LastFile=two.vmf");
    const int dir = stored.indexOf("LastDir=D:\\my maps");
    EXPECT_GE(file, 0) << stored.constData();
    EXPECT_GT(dir, file) << stored.constData();

    Form1& next = start();
    EXPECT_EQ(next.Dir1->Path(), QStringLiteral("D:\\my maps"));
    EXPECT_EQ(next.File1->count(), 2);
    EXPECT_EQ(next.File1->FileName(), QString());
}

TEST_F(StartUpTest, ChangingTheGameDriveByHandOpensItsRootAndStoresNothing)
{
    EnvGuard sdk("sourcesdk", QByteArray("C:\\sdk"));
    Form1& form = start();
    const QByteArray before = settingsText();
    form.Drive2->setCurrentIndex(form.Drive2->findText(QStringLiteral("d:")));
    EXPECT_EQ(form.Dir2->Path(), QStringLiteral("D:\\"));
    EXPECT_EQ(settingsText(), before);
}

} // namespace
} // namespace qmxtest
