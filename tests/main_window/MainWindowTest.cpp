// The main window's start-up, shut-down and browser lists, end to end on the real window: a program
// directory with a known language file, a Wine prefix of its own with drives C: and D: (no Z:, so
// nothing outside the sandbox is browsed), and no sourcesdk variable; the environment is put back after
// each test.

#include "aux_windows/Form2.h"
#include "aux_windows/Form3.h"
#include "core/os/Os.h"
#include "main_window/Form1.h"
#include "support/AccessibleTree.h"
#include "support/Recorders.h"
#include "support/Sandbox.h"
#include "support/ScopedEnvironment.h"
#include "toolkit/Application.h"
#include "toolkit/CentreWindow.h"
#include "toolkit/CheckBox.h"
#include "toolkit/DirList.h"
#include "toolkit/DriveList.h"
#include "toolkit/FileList.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

namespace qmxtest {
namespace {

class StartUpTest : public testing::Test
{
protected:
    StartUpTest()
        : m_environment({"WINEPREFIX", "sourcesdk"})
        , m_sandbox(false)
        , m_prefix(m_sandbox.makeDir(QStringLiteral("wine prefix")))
        , m_driveD(m_sandbox.makeDir(QStringLiteral("spiele f\u00fcr d"))) // non-ASCII and a blank
    {
        QDir(m_prefix).mkpath(QStringLiteral("dosdevices"));
        QDir(m_prefix).mkpath(QStringLiteral("drive_c"));
        QFile::link(QStringLiteral("../drive_c"), m_prefix + QStringLiteral("/dosdevices/c:"));
        QFile::link(m_driveD, m_prefix + QStringLiteral("/dosdevices/d:"));
        qputenv("WINEPREFIX", QFile::encodeName(m_prefix));
        qmx::os::releaseInstanceLock(); // each start asks anew
        qunsetenv("sourcesdk");
        m_sandbox.writeFile(QStringLiteral("language.qmxII"), kLanguage);
    }

    static constexpr const char* kLanguage
        = "[LANGUAGE]\r\nProgramOpen=\" is already running.\"\r\nFrame2=Maps\r\nFrame4=Game\r\nMenuCompile=Build\r\n"
          "Presets=Sets\r\npreset=Set\r\nsave=Store\r\nload=Fetch\r\nCopyFIle=Copy it\r\nFrame3=Options\r\n";

    // Makes folders ("D:a/b/") and files ("D:a/b.vmf") on the prefix's drives.
    void make(std::initializer_list<const char*> paths) const
    {
        for (const char* path : paths) {
            const QString host = (path[0] == 'C' ? m_prefix + QStringLiteral("/drive_c") : m_driveD) + QLatin1Char('/')
                + QString::fromUtf8(path + 2);
            QDir().mkpath(host.endsWith(QLatin1Char('/')) ? host : QFileInfo(host).path());
            QFile file(host);
            if (!host.endsWith(QLatin1Char('/')) && file.open(QIODevice::WriteOnly))
                file.write("x");
        }
    }

    // HKEY_CURRENT_USER as Wine keeps it, with one key (its backslashes doubled); none when key is empty.
    void writeUserReg(const QByteArray& key, const QByteArray& valueLine) const
    {
        QFile f(m_prefix + QStringLiteral("/user.reg"));
        f.remove();
        if (!key.isEmpty() && f.open(QIODevice::WriteOnly))
            f.write("WINE REGISTRY Version 2\n\n#arch=win64\n\n[" + key + "] 1700000000\n" + valueLine + "\n");
    }

    void writeSettings(const QByteArray& text) const { m_sandbox.writeFile(QStringLiteral("settings.qmxII"), text); }
    QByteArray settingsText() const { return m_sandbox.readFile(QStringLiteral("settings.qmxII")); }

    ~StartUpTest() override { qmx::os::releaseInstanceLock(); }

    Form1& start()
    {
        m_form.reset();
        qmx::os::releaseInstanceLock(); // as if the program had ended
        m_form = std::make_unique<Form1>();
        m_form->Form1_Form_Load();
        return *m_form;
    }

    static Form2* folderWindow()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<Form2*>(w))
                return f;
        return nullptr;
    }

    ScopedEnvironment m_environment;
    Sandbox m_sandbox;
    QString m_prefix;
    QString m_driveD;
    std::unique_ptr<Form1> m_form;
};

TEST(CentredOffset, RoundsHalvesToEvenThenHalvesTowardZero)
{
    const double cases[][3] = {
        {15360, 9601, 2879}, // 5759 halved
        {15360, 16361, -500}, // wider by 1001
        {1280, 800, 240},     {100, 98.5, 1}, {100, 96.5, 2}, {100, 102.5, -1}, {100, 103.5, -2}, {100, 103, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qmx::CentredOffset(c[0], c[1]), static_cast<long long>(c[2])) << c[0] << " " << c[1];
}

// Another copy of the program for the same program directory: a process of its own that holds the
// instance lock until its input closes. Empty when it could not take the lock.
std::unique_ptr<QProcess> holdInstanceLock(const QString& programDir)
{
    auto holder = std::make_unique<QProcess>();
    // Built beside the test program.
    holder->start(QCoreApplication::applicationDirPath() + QStringLiteral("/instance_holder"), {programDir});
    if (!holder->waitForReadyRead(10000) || holder->readLine().trimmed() != "held")
        holder.reset();
    return holder;
}

// Centred with the frame the window manager gives it: the main window, the SDK folder window and the credits
// window. Needs X with a window manager (placement_test.sh runs it so); skipped elsewhere.
TEST_F(StartUpTest, WindowsAreCentredWithTheirFrames)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server with a window manager";
    const auto centred = [](QWidget* window) {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect frame = window->frameGeometry();
        const QPoint expected(screen.x() + int(qmx::CentredOffset(screen.width(), frame.width())),
                              screen.y() + int(qmx::CentredOffset(screen.height(), frame.height())));
        const bool framed = window->windowHandle() && !window->windowHandle()->frameMargins().isNull();
        return framed && (frame.topLeft() - expected).manhattanLength() <= 3;
    };
    struct Case
    {
        const char* name;
        std::function<QWidget*()> show;
    } const cases[] = {
        {"main window",
         [this] {
             qputenv("sourcesdk", "C:\\sdk");
             return static_cast<QWidget*>(&start());
         }},
        {"SDK folder window",
         [this] {
             qunsetenv("sourcesdk");
             start();
             return static_cast<QWidget*>(folderWindow());
         }},
        {"credits window",
         [this] {
             qputenv("sourcesdk", "C:\\sdk");
             start().MenuCredits->trigger();
             return static_cast<QWidget*>(m_form->creditsWindow());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget* window = c.show();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return centred(window); }, 5000))
            << "frame at " << window->frameGeometry().x() << "," << window->frameGeometry().y() << " size "
            << window->frameGeometry().width() << "x" << window->frameGeometry().height();
    }
}

// A missing language file is reported before another instance; either ends at once, writing nothing.
TEST_F(StartUpTest, MissingLanguageFileOrSecondInstanceEndsAtOnce)
{
    const QByteArray kept = "[settings]\r\nLastUsedSettings=keep\r\n";
    const QString critical = QStringLiteral(
        "Language-File not found. Program closed due to missing Language Pack.|16|QMX GUI II - Critical Error");
    struct Case
    {
        bool languageFile, otherRunning;
        QString message; // prompt|style|title
    } const cases[] = {
        {false, false, critical},
        {false, true, critical},
        {true, true, qmx::ExecutableName() + QStringLiteral(" is already running.|0|QMX GUI II")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        resetRecorders();
        writeSettings(kept);
        m_sandbox.writeFile(QStringLiteral("language.qmxII"), kLanguage);
        if (!c.languageFile)
            QFile::remove(m_sandbox.languageFile());
        std::unique_ptr<QProcess> other = c.otherRunning ? holdInstanceLock(m_sandbox.hostDir()) : nullptr;
        EXPECT_EQ(other != nullptr, c.otherRunning);
        Form1& form = start();
        if (other) {
            other->closeWriteChannel();
            other->waitForFinished();
        }
        ASSERT_EQ(messages().size(), 1u);
        const ShownMessage& shown = messages()[0];
        EXPECT_EQ(QStringLiteral("%1|%2|%3").arg(shown.prompt).arg(shown.style).arg(shown.title), c.message);
        EXPECT_EQ(endProgramCount(), 1);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(folderWindow(), nullptr);
        EXPECT_EQ(settingsText(), kept);
    }
}

// The captions on screen, and what assistive technology reads: the same texts, never the design captions.
TEST_F(StartUpTest, CaptionsComeFromTheLanguageFileOrAreBareFixedPieces)
{
    const char* const cases[][2] = {
        {kLanguage, "Maps|Game|Build|Sets|Set 1|Set 4|Store|Fetch|Copy it|BSP-Options|VIS-Options|RAD-Options"},
        {"[language]\r\n", "|||| 1| 4||||BSP-|VIS-|RAD-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        m_sandbox.writeFile(QStringLiteral("language.qmxII"), c[0]);
        qputenv("sourcesdk", "C:\\sdk \u00e4");
        Form1& f = start();
        const QStringList captions{f.Frame2->title(),     f.Frame4->title(),       f.MenuCompile->text(),
                                   f.presets->title(),    f.loadpreset[0]->text(), f.savepreset[3]->text(),
                                   f.presetsave->title(), f.presetload->title(),   f.CopyFile->text(),
                                   f.SSTab1->tabText(0),  f.SSTab1->tabText(1),    f.SSTab1->tabText(2)};
        EXPECT_EQ(captions.join(QLatin1Char('|')).toStdString(), c[1]);

        const QStringList read = accessibleNames(&f);
        for (const QString& caption : captions)
            EXPECT_TRUE(caption.trimmed().isEmpty() || read.contains(caption)) << caption.toStdString();
        for (const char* design : {"Map-Directory", "Game-Directory", "Copy File to this directory after compile",
                                   "Map directory", "Game directory", "Preset 1", "Compile", "Save", "Load"})
            EXPECT_FALSE(read.contains(QString::fromUtf8(design))) << design;
        // The SDK label says what it is, and the directory itself.
        EXPECT_TRUE(read.contains(QStringLiteral("SDK directory|C:\\sdk \u00e4\\bin"))) << read.join('/').toStdString();
    }
}

// Where the SDK's bin directory comes from: the first source that is not empty.
TEST_F(StartUpTest, SdkSourcesInOrder)
{
    struct Case
    {
        const char* sourcesdk; // nullptr: unset
        QByteArray editorValueLine; // under Software\Valve\Hammer\General; empty: no key
        QByteArray storedSdkDir; // empty: no settings file
        const char* expected;
    } const cases[] = {
        {"C:\\sdk", "\"Directory\"=\"E:\\\\tools\\\\bin\"", "F:\\stored", "C:\\sdk\\bin"},
        {"D:\\sdk\\", "", "", "D:\\sdk\\\\bin"}, // a trailing backslash is kept
        {"", "", "F:\\stored", "F:\\stored"}, // empty counts as unset
        {nullptr, "\"Directory\"=\"E:\\\\tools\\\\bin\"", "F:\\stored", "E:\\tools\\bin"},
        {nullptr, "\"directory\"=\"E:\\\\x\"", "", "E:\\x"},
        {nullptr, "\"Directory\"=str(2):\"E:\\\\tools\"", "F:\\stored", "F:\\stored"}, // only REG_SZ counts
        {nullptr, "\"Directory\"=dword:00000001", "F:\\stored", "F:\\stored"},
        {nullptr, "\"Directory\"=\"E:\\\\a\\0junk\"", "", "E:\\a"},
        {nullptr, "\"Directory\"=\"\"", "F:\\stored", "F:\\stored"},
        {nullptr, "", "Q:\\gone", "Q:\\gone"}, // a stale stored choice is used unchanged
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        c.sourcesdk ? qputenv("sourcesdk", c.sourcesdk) : qunsetenv("sourcesdk");
        writeUserReg(c.editorValueLine.isEmpty() ? "" : "Software\\\\Valve\\\\Hammer\\\\General", c.editorValueLine);
        writeSettings(c.storedSdkDir.isEmpty() ? QByteArray() : "[settings]\r\nSDKDir=" + c.storedSdkDir + "\r\n");
        Form1& form = start();
        EXPECT_EQ(form.SDKDir, QString::fromLatin1(c.expected));
        EXPECT_EQ(form.Label1->text(), QString::fromLatin1(c.expected));
        EXPECT_TRUE(form.isVisible() && !folderWindow());
    }
}

// With every source empty the folder window asks; closing it ends without storing, Done! stores the
// choice for this and the next run.
TEST_F(StartUpTest, EverySourceEmptyAsksForTheFolder)
{
    make({"C:maps/a.vmf", "D:sdk/bin/"});
    const QByteArray stored = "[settings]\r\nLastDir=C:\\maps\r\n";
    writeSettings(stored);
    start();
    ASSERT_NE(folderWindow(), nullptr);
    folderWindow()->close();
    EXPECT_EQ(endProgramCount(), 1);
    EXPECT_EQ(settingsText(), stored);

    Form1& form = start();
    Form2* folder = folderWindow();
    ASSERT_NE(folder, nullptr);
    EXPECT_TRUE(folder->isVisible());
    EXPECT_EQ(folder->windowTitle(), QStringLiteral("Please select your SourceSDK\\bin-Directory"));
    EXPECT_EQ(folder->Command1->text(), QStringLiteral("Done!"));
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.SDKDir.isEmpty());
    EXPECT_EQ(form.Dir1->Path(), QStringLiteral("C:\\maps")); // restored behind it
    EXPECT_TRUE(messages().empty());
    folder->Drive1->setDrive(QStringLiteral("d:"));
    folder->Dir1->setPath(QStringLiteral("\\sdk\\bin"));
    QTest::mouseClick(folder->Command1, Qt::LeftButton);
    EXPECT_FALSE(folder->isVisible());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.SDKDir + form.Label1->text(), QStringLiteral("D:\\sdk\\binD:\\sdk\\bin"));
    EXPECT_TRUE(settingsText().contains("SDKDir=D:\\sdk\\bin"));

    EXPECT_EQ(start().SDKDir, QStringLiteral("D:\\sdk\\bin"));
    EXPECT_TRUE(m_form->isVisible() && !folderWindow());
}

// A damaged or empty settings file gives the default window; options survive shut-down and the next start.
TEST_F(StartUpTest, SettingsFileRoundTrip)
{
    qputenv("sourcesdk", "C:\\sdk");
    static const char binary[] = "\0\0\xff\xfe[settings]\r\nLastUsedSettings=1|x|,,,|";
    const QByteArray damaged[]
        = {"[settings", QByteArray(binary, sizeof binary - 1),
           "[settings]\r\nLastUsedSettings=" + QByteArray(5000, '|') + "\r\nLastDir=" + QByteArray(3000, 'a'), ""};
    for (const QByteArray& text : damaged) {
        writeSettings(text);
        Form1& form = start();
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.BSP->Value() + form.VIS->Value() + form.CopyFile->Value(), 0);
        EXPECT_EQ(form.SDKDir, QStringLiteral("C:\\sdk\\bin"));
    }
    m_form->VIS->setValue(1);
    m_form->CopyFile->setValue(1);
    m_form->Form1_Form_Unload();
    EXPECT_EQ(endProgramCount(), 1);
    const QByteArray stored = settingsText();
    EXPECT_TRUE(stored.contains("LastUsedSettings=0,1,0|") && stored.trimmed().endsWith("|1")) << stored.constData();
    Form1& next = start();
    EXPECT_EQ(QStringLiteral("%1%2%3").arg(next.BSP->Value()).arg(next.VIS->Value()).arg(next.CopyFile->Value()),
              QStringLiteral("011"));
}

TEST_F(StartUpTest, GameBrowserFallsBackToTheLauncherSteamapps)
{
    qputenv("sourcesdk", "C:\\sdk");
    make({"D:games/steam/steamapps/common/", "C:mods/readme.txt"});
    const char* const cases[][4] = {
        // launcher ("": no value), LastMapDir, drive, path
        {"d:/games/steam/steam.exe", "", "d:", "D:\\games\\steam\\steamapps"},
        {"d:/games/steam/steam.exe", "C:\\mods", "c:", "C:\\mods"},
        {"d:/games/steam/steam.exe", "C:\\nothing", "d:", "D:\\games\\steam\\steamapps"},
        {"d:/nowhere/steam.exe", "", "d:", "D:\\"},
        {"d:/steam.ex", "", "c:", "C:\\"},
        {"q:/games/steam/steam.exe", "", "c:", "C:\\"},
        {"", "", "c:", "C:\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        writeUserReg(*c[0] ? "Software\\\\Valve\\\\Steam" : "", QByteArray("\"SteamExe\"=\"") + c[0] + "\"");
        writeSettings(QByteArray("[settings]\r\nLastMapDir=") + c[1] + "\r\n");
        Form1& form = start();
        EXPECT_EQ(form.Drive2->Drive(), QString::fromLatin1(c[2]));
        EXPECT_EQ(form.Dir2->Path(), QString::fromLatin1(c[3]));
    }
}

// The browser lists: the prefix's drives, a directory's ancestors then its subdirectories (sorted
// without regard to case), the maps matched without regard to case and none selected until a click.
// A click stores the map, then its directory; the next start lists that directory again, but only a
// directory holding ordinary files is restored.
TEST_F(StartUpTest, MapBrowserListsAndKeepsTheClickedMapsDirectory)
{
    qputenv("sourcesdk", "C:\\sdk");
    make({"D:my maps/b.VMF", "D:my maps/a.vmf", "D:my maps/c.vmx", "D:my maps/.h.vmf", "D:my maps/\u00e4lt/",
          "D:my maps/Beta/", "D:my maps/x.vmf/", "D:only dirs/sub/", "D:only hidden/.x.vmf"});
    Form1& form = start();
    const auto items = [](const QListWidget* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts.join(QLatin1Char('|')).toStdString();
    };
    EXPECT_EQ(form.Drive1->itemText(0) + form.Drive1->itemText(1) + form.Drive1->itemText(2), QStringLiteral("c:d:"));
    for (const char* drive : {"D:\\", "q:", "\\\\server\\share"})
        form.Drive1->setDrive(QString::fromLatin1(drive)); // the unknown ones change nothing
    EXPECT_EQ(form.Drive1->Drive(), QStringLiteral("d:"));
    form.Dir1->setPath(QStringLiteral("\\my maps")); // on the current drive
    EXPECT_EQ(form.Dir1->Path(), QStringLiteral("D:\\my maps"));
    EXPECT_EQ(items(form.Dir1), "d:\\|my maps|Beta|x.vmf|\u00e4lt");
    EXPECT_EQ(form.Dir1->ancestorCount(), 2);
    EXPECT_EQ(items(form.File1), "a.vmf|b.VMF");
    EXPECT_EQ(form.File1->FileName(), QString());
    const QRect row = form.File1->visualItemRect(form.File1->item(1));
    QTest::mouseClick(form.File1->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
    EXPECT_EQ(form.File1->FileName(), QStringLiteral("b.VMF"));
    const QByteArray stored = settingsText();
    EXPECT_GE(stored.indexOf("LastFile=b.VMF"), 0) << stored.constData();
    EXPECT_GT(stored.indexOf("LastDir=D:\\my maps"), stored.indexOf("LastFile=b.VMF")) << stored.constData();

    Form1& next = start();
    EXPECT_EQ(next.Drive1->Drive() + next.Dir1->Path() + next.File1->Path(),
              QStringLiteral("d:D:\\my mapsD:\\my maps"));
    EXPECT_EQ(items(next.File1), "a.vmf|b.VMF");
    EXPECT_EQ(next.File1->FileName(), QString());
    for (const char* lastDir : {"D:\\only dirs", "D:\\only hidden", "D:\\missing", "Q:\\my maps", ""}) {
        writeSettings(QByteArray("[settings]\r\nLastDir=") + lastDir + "\r\n");
        EXPECT_EQ(start().Dir1->Path(), QStringLiteral("C:\\")) << lastDir;
    }
}

} // namespace
} // namespace qmxtest
