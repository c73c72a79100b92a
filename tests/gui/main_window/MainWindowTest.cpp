// The main window's start-up, shut-down and browser lists on the real window: a known language file, no sourcesdk
// variable, and two sandbox folders standing in for the roots of drives C: and D: (never a real drive's).

#include "core/os/Os.h"
#include "gui/toolkit/Application.h"
#include "gui/toolkit/CentreWindow.h"
#include "gui/toolkit/CheckBox.h"
#include "gui/toolkit/DirList.h"
#include "gui/toolkit/DriveList.h"
#include "gui/toolkit/FileList.h"
#include "gui/windows/Form1.h"
#include "gui/windows/Form2.h"
#include "gui/windows/Form3.h"
#include "support/AccessibleTree.h"
#include "support/Recorders.h"
#include "support/Sandbox.h"
#include "support/ScopedEnv.h"
#include "support/UserRegistry.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

namespace qmxtest {
namespace {

const std::string kEditorKey = "Software\\Valve\\Hammer\\General";

QByteArray ansi(const QString& text)
{
    return QByteArray::fromStdString(qmx::os::toAnsi(text.toStdString()));
}

class StartUpTest : public testing::Test
{
protected:
    StartUpTest()
    {
        QDir::setCurrent(m_hostC); // the lists open on the current directory when nothing else is given
        ScopedEnv::unset("sourcesdk");
        m_sandbox.writeFile(QStringLiteral("language.qmxII"), kLanguage);
    }
    ~StartUpTest() override
    {
        m_form.reset();
        QDir::setCurrent(m_oldCurrent);
        qmx::os::releaseInstanceLock();
    }

    static constexpr const char* kLanguage
        = "[LANGUAGE]\r\nProgramOpen=\" is already running.\"\r\nFrame2=Maps\r\nFrame4=Game\r\nMenuCompile=Build\r\n"
          "Presets=Sets\r\npreset=Set\r\nsave=Store\r\nload=Fetch\r\nCopyFIle=Copy it\r\nFrame3=Options\r\n"
          "RunMap=Map im Spiel starten\r\nGameCommand=Spiel...\r\nGameRunTip=Ohne Kompilieren spielen\r\n";

    static QString win(const QString& host)
    {
        return QString::fromStdString(qmx::os::toWindowsPath(host.toStdString()));
    }
    // "D:\maps" (or "d:/x", "C:") on the test's drives: the path under the drive's root folder.
    QString at(const QString& path) const { return (path.at(0).toUpper() == 'C' ? m_rootC : m_rootD) + path.mid(2); }
    // The drive list's name of the drive that holds C: or D:'s root ("d:").
    QString drive(char letter) const { return (letter == 'C' ? m_rootC : m_rootD).left(2).toLower(); }

    // Makes folders ("D:a/b/") and files ("D:a/b.vmf") on the test's drives.
    void make(std::initializer_list<const char*> paths) const
    {
        for (const char* path : paths) {
            const QString host = (path[0] == 'C' ? m_hostC : m_hostD) + QLatin1Char('/') + QString::fromUtf8(path + 2);
            QDir().mkpath(QFileInfo(host).path());
            if (!host.endsWith(QLatin1Char('/')))
                QFile(host).open(QIODevice::WriteOnly);
        }
    }

    void writeSettings(const QByteArray& text) const { m_sandbox.writeFile(QStringLiteral("settings.qmxII"), text); }
    QByteArray settingsText() const { return m_sandbox.readFile(QStringLiteral("settings.qmxII")); }

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

    // The BSP, VIS, copy and run-after-compile boxes as digits.
    static QString ticks(const Form1& f)
    {
        return QString::asprintf("%d%d%d%d", f.BSP->Value(), f.VIS->Value(), f.CopyFile->Value(), f.RunMap->Value());
    }

    ScopedEnv m_environment{"sourcesdk"};
    const QString m_oldCurrent = QDir::currentPath();
    Sandbox m_sandbox{false};
    UserRegistry m_registry; // on Linux also the Wine prefix, so it comes before any path
    const QString m_hostC = m_sandbox.makeDir(QStringLiteral("drive c")); // the roots' folders, host paths
    const QString m_hostD = m_sandbox.makeDir(QStringLiteral("spiele f\u00fcr d")); // non-ASCII and a blank
    const QString m_rootC = win(m_hostC), m_rootD = win(m_hostD); // the same, Windows-form
    std::unique_ptr<Form1> m_form;
};

TEST(CentredOffset, RoundsHalvesToEvenThenHalvesTowardZero)
{
    const double cases[][3] = {{15360, 9601, 2879}, {15360, 16361, -500}, {1280, 800, 240}, {100, 98.5, 1},
                               {100, 96.5, 2},      {100, 102.5, -1},     {100, 103.5, -2}, {100, 103, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(qmx::CentredOffset(c[0], c[1]), static_cast<long long>(c[2])) << c[0] << " " << c[1];
}

// Another copy of the program for the same program directory, holding the instance lock till its input closes.
std::unique_ptr<QProcess> holdInstanceLock(const QString& programDir)
{
    auto holder = std::make_unique<QProcess>();
    holder->start(QCoreApplication::applicationDirPath() + QStringLiteral("/instance_holder"), {programDir});
    if (!holder->waitForReadyRead(10000) || holder->readLine().trimmed() != "held")
        holder.reset();
    return holder;
}

// Centred with the frame a window manager gives it: placement_test.sh runs it on X with one; skipped elsewhere.
TEST_F(StartUpTest, WindowsAreCentredWithTheirFrames)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server with a window manager";
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const auto expectCentred = [&screen](const char* name, QWidget* window) {
        SCOPED_TRACE(name);
        ASSERT_NE(window, nullptr);
        QRect frame;
        const auto centred = [&] {
            frame = window->frameGeometry();
            const QPoint expected(screen.x() + int(qmx::CentredOffset(screen.width(), frame.width())),
                                  screen.y() + int(qmx::CentredOffset(screen.height(), frame.height())));
            const bool framed = window->windowHandle() && !window->windowHandle()->frameMargins().isNull();
            return framed && (frame.topLeft() - expected).manhattanLength() <= 3;
        };
        EXPECT_TRUE(QTest::qWaitFor(centred, 5000))
            << "frame at " << frame.x() << "," << frame.y() << " size " << frame.width() << "x" << frame.height();
    };
    ScopedEnv::set("sourcesdk", "C:\\sdk");
    expectCentred("main window", &start());
    // Dragged at once, it stays where the user put it, also after the watch for its frame has ended.
    const QPoint dragged = m_form->pos() + QPoint(40, 30);
    m_form->move(dragged);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_form->findChild<QObject*>("qmx_frameWatch"); }, 5000));
    EXPECT_EQ(m_form->pos(), dragged);
    m_form->MenuCredits->trigger();
    expectCentred("credits window", m_form->creditsWindow());
    ScopedEnv::unset("sourcesdk");
    start();
    expectCentred("SDK folder window", folderWindow());
}

// A missing language file is reported before another instance; either ends at once, writing nothing.
TEST_F(StartUpTest, MissingLanguageFileOrSecondInstanceEndsAtOnce)
{
    const QByteArray kept = "[settings]\r\nLastUsedSettings=keep\r\n";
    const QString critical = QStringLiteral(
        "Language-File not found. Program closed due to missing Language Pack.|16|QMX GUI II - Critical Error");
    const std::tuple<bool, bool, QString> cases[] = {
        // language file, another copy running, prompt|style|title
        {false, false, critical},
        {false, true, critical},
        {true, true, qmx::ExecutableName() + QStringLiteral(" is already running.|0|QMX GUI II")},
    };
    for (const auto& [languageFile, otherRunning, message] : cases) {
        SCOPED_TRACE(message.toStdString());
        resetRecorders();
        writeSettings(kept);
        m_sandbox.writeFile(QStringLiteral("language.qmxII"), kLanguage);
        if (!languageFile)
            QFile::remove(m_sandbox.languageFile());
        std::unique_ptr<QProcess> other = otherRunning ? holdInstanceLock(m_sandbox.hostDir()) : nullptr;
        EXPECT_EQ(other != nullptr, otherRunning);
        Form1& form = start();
        if (other) {
            other->closeWriteChannel();
            other->waitForFinished();
        }
        const ShownMessage shown = messages().empty() ? ShownMessage() : messages().front();
        EXPECT_EQ(messages().size(), 1u);
        EXPECT_EQ(QStringLiteral("%1|%2|%3").arg(shown.prompt).arg(shown.style).arg(shown.title), message);
        EXPECT_EQ(endProgramCount(), 1);
        EXPECT_TRUE(!form.isVisible() && !folderWindow());
        EXPECT_EQ(settingsText(), kept);
    }
}

// The captions on screen, and what assistive technology reads: the same texts, never the design captions.
// Captions added after the first language files have built-in English.
TEST_F(StartUpTest, CaptionsComeFromTheLanguageFileOrAreBareFixedPieces)
{
    const char* const cases[][2] = {
        {kLanguage,
         "Build|Sets|!|?|Fetch|Store|Set 1|Set 2|Set 3|Set 4|Set 1|Set 2|Set 3|Set 4|Maps|Game|Copy it|"
         "BSP-Options|VIS-Options|RAD-Options|Map im Spiel starten|Spiel...|Ohne Kompilieren spielen: Ctrl+F9"},
        {"[language]\r\n",
         "||!|?||| 1| 2| 3| 4| 1| 2| 3| 4||||BSP-|VIS-|RAD-|Run the map after compile|Game..."
         "|Run the map in the game without compiling: Ctrl+F9"},
    };
    ScopedEnv::set("sourcesdk", "C:\\sdk \u00e4");
    for (const auto& [language, expected] : cases) {
        SCOPED_TRACE(language);
        m_sandbox.writeFile(QStringLiteral("language.qmxII"), language);
        Form1& f = start();
        QStringList captions; // the menus in order, then the rest
        for (QAction* a :
             f.menuBar()->actions() + f.presets->actions() + f.presetload->actions() + f.presetsave->actions())
            captions << a->text();
        captions << f.Frame2->title() << f.Frame4->title() << f.CopyFile->text() << f.SSTab1->tabText(0)
                 << f.SSTab1->tabText(1) << f.SSTab1->tabText(2) << f.RunMap->text() << f.GameCommand->text();
        EXPECT_EQ((captions.join(QLatin1Char('|')) + '|' + f.GameCommand->toolTip()).toStdString(), expected);

        const QStringList read = accessibleNames(&f); // "name" or "name|description"
        const QStringList names = QStringList(read).replaceInStrings(QRegularExpression(QStringLiteral("\\|.*")), {});
        for (const QString& caption : captions)
            EXPECT_TRUE(caption.trimmed().isEmpty() || names.contains(caption)) << caption.toStdString();
        for (const char* design : {"Map-Directory", "Game-Directory", "Copy File to this directory after compile",
                                   "Map directory", "Game directory", "Preset 1", "Compile", "Save", "Load"})
            EXPECT_FALSE(names.contains(QString::fromUtf8(design))) << design;
        // The SDK label says what it is, and the directory itself.
        EXPECT_TRUE(read.contains(QStringLiteral("SDK directory|C:\\sdk \u00e4\\bin"))) << read.join('/').toStdString();
    }
}

// Where the SDK's bin directory comes from: the first source that is not empty (which registry values count is
// the registry reader's business: tests/os). With none, the folder window asks; closing it ends without
// storing, Done! stores the choice for this and the next run.
TEST_F(StartUpTest, SdkSourcesInOrderThenTheFolderWindow)
{
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        // sourcesdk and the editor's registry value (nullptr: none), stored SDKDir ("": no file), expected
        {"C:\\sdk", "E:\\tools\\bin", "F:\\stored", "C:\\sdk\\bin"},
        {"D:\\sdk\\", nullptr, "", "D:\\sdk\\\\bin"}, // a trailing backslash is kept
        {"", nullptr, "F:\\stored", "F:\\stored"}, // empty counts as unset
        {nullptr, "E:\\tools\\bin", "F:\\stored", "E:\\tools\\bin"},
        {nullptr, "", "F:\\stored", "F:\\stored"},
        {nullptr, nullptr, "Q:\\gone", "Q:\\gone"}, // a stale stored choice is used unchanged
    };
    for (const auto& [sourcesdk, editorDirectory, stored, expected] : cases) {
        SCOPED_TRACE(expected);
        sourcesdk ? ScopedEnv::set("sourcesdk", sourcesdk) : ScopedEnv::unset("sourcesdk");
        m_registry.set(kEditorKey, "Directory",
                       editorDirectory ? std::optional<std::string>(editorDirectory) : std::nullopt);
        writeSettings(*stored ? "[settings]\r\nSDKDir=" + QByteArray(stored) + "\r\n" : QByteArray());
        Form1& form = start();
        EXPECT_EQ(form.SDKDir, QString::fromLatin1(expected));
        EXPECT_EQ(form.Label1->text(), QString::fromLatin1(expected));
        EXPECT_TRUE(form.isVisible() && !folderWindow());
    }

    make({"C:maps/a.vmf", "D:sdk/bin/"});
    const QByteArray stored = "[settings]\r\nLastDir=" + ansi(at("C:\\maps")) + "\r\n";
    writeSettings(stored);
    start();
    ASSERT_NE(folderWindow(), nullptr);
    folderWindow()->close();
    EXPECT_EQ(endProgramCount(), 1);
    EXPECT_EQ(settingsText(), stored);

    Form1& form = start();
    Form2* folder = folderWindow();
    ASSERT_NE(folder, nullptr);
    EXPECT_TRUE(folder->isVisible() && !form.isVisible());
    EXPECT_EQ(folder->windowTitle(), QStringLiteral("Please select your SourceSDK\\bin-Directory"));
    EXPECT_EQ(folder->Command1->text(), QStringLiteral("Done!"));
    EXPECT_TRUE(form.SDKDir.isEmpty());
    EXPECT_EQ(form.Dir1->Path(), at("C:\\maps")); // restored behind it
    EXPECT_TRUE(messages().empty());
    folder->Drive1->setDrive(drive('D'));
    folder->Dir1->setPath(at("D:\\sdk\\bin"));
    QTest::mouseClick(folder->Command1, Qt::LeftButton);
    EXPECT_TRUE(!folder->isVisible() && form.isVisible());
    EXPECT_EQ(form.SDKDir, at("D:\\sdk\\bin"));
    EXPECT_EQ(form.Label1->text(), at("D:\\sdk\\bin"));
    EXPECT_TRUE(settingsText().contains("SDKDir=" + ansi(at("D:\\sdk\\bin")) + "\r\n"));
    EXPECT_EQ(start().SDKDir, at("D:\\sdk\\bin"));
    EXPECT_TRUE(m_form->isVisible() && !folderWindow());
}

// A damaged or empty settings file gives the default window (damaged files in general: tests/os/test_ini.cpp);
// options survive shut-down and the next start, and the run-after-compile box comes back as stored.
TEST_F(StartUpTest, SettingsFileRoundTrip)
{
    ScopedEnv::set("sourcesdk", "C:\\sdk");
    static const char binary[] = "\0\0\xff\xfe[settings]\r\nLastUsedSettings=1|x|,,,|";
    const std::pair<const char*, QByteArray> damaged[] = {
        {"binary", QByteArray(binary, sizeof binary - 1)},
        {"too long",
         "[settings]\r\nLastUsedSettings=" + QByteArray(5000, '|') + "\r\nLastDir=" + QByteArray(3000, 'a')},
        {"empty", ""},
    };
    for (const auto& [name, text] : damaged) {
        SCOPED_TRACE(name);
        writeSettings(text);
        Form1& form = start();
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(ticks(form), QStringLiteral("0000"));
        EXPECT_EQ(form.SDKDir, QStringLiteral("C:\\sdk\\bin"));
    }
    m_form->VIS->setValue(1);
    m_form->CopyFile->setValue(1);
    m_form->Form1_Form_Unload();
    EXPECT_EQ(endProgramCount(), 1);
    const QByteArray stored = settingsText();
    EXPECT_TRUE(stored.contains("LastUsedSettings=0,1,0|") && stored.trimmed().endsWith("|1")) << stored.constData();
    writeSettings(stored + "RunMap=1\r\n");
    EXPECT_EQ(ticks(start()), QStringLiteral("0111"));
}

// The game directory: the last one when it still holds files, else the launcher's steamapps folder, else the
// launcher's drive; nothing changes for a launcher path too short to cut or on an unknown drive.
TEST_F(StartUpTest, GameBrowserFallsBackToTheLauncherSteamapps)
{
    ScopedEnv::set("sourcesdk", "C:\\sdk");
    make({"D:games/steam/steamapps/common/", "C:mods/readme.txt"});
    const QString launcher = at("d:/games/steam/steam.exe");
#ifdef _WIN32
    const QString steamapps = at("D:\\games\\steam\\Steamapps"); // Windows keeps the spelling it is given
#else
    const QString steamapps = at("D:\\games\\steam\\steamapps"); // Linux takes the folder's own
#endif
    const QString atStart = start().Dir2->Path(); // no launcher and no stored directory
    EXPECT_EQ(atStart, at("C:"));
    const QString cases[][4] = {
        // launcher ("": no value), LastMapDir, drive, path
        {launcher, "", drive('D'), steamapps},
        {launcher, at("C:\\mods"), drive('C'), at("C:\\mods")},
        {launcher, at("C:\\nothing"), drive('D'), steamapps},
        {at("d:/nowhere/steam.exe"), "", drive('D'), drive('D').toUpper() + QLatin1Char('\\')},
        {drive('D') + "/steam.ex", "", drive('C'), atStart},
        {"q:/games/steam/steam.exe", "", drive('C'), atStart},
        {"", "", drive('C'), atStart},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0].toStdString());
        m_registry.set("Software\\Valve\\Steam", "SteamExe",
                       c[0].isEmpty() ? std::nullopt : std::optional<std::string>(c[0].toStdString()));
        writeSettings("[settings]\r\nLastMapDir=" + ansi(c[1]) + "\r\n");
        Form1& form = start();
        EXPECT_EQ(form.Drive2->Drive().toStdString(), c[2].toStdString());
        EXPECT_EQ(form.Dir2->Path().toStdString(), c[3].toStdString());
    }
}

QStringList items(const QAbstractItemModel* list)
{
    QStringList texts;
    for (int i = 0; i < list->rowCount(); ++i)
        texts << list->index(i, 0).data().toString();
    return texts;
}

// The browser lists: the drives, a directory's ancestors then its subdirectories (sorted without regard to
// case), the maps matched without regard to case and none selected until a click. A click stores the map, then
// its directory; the next start lists that directory again, but only a directory holding ordinary files is
// restored.
TEST_F(StartUpTest, MapBrowserListsAndKeepsTheClickedMapsDirectory)
{
    ScopedEnv::set("sourcesdk", "C:\\sdk");
    make({"D:my maps/b.VMF", "D:my maps/a.vmf", "D:my maps/c.vmx", "D:my maps/.h.vmf", "D:my maps/\u00e4lt/",
          "D:my maps/Beta/", "D:my maps/x.vmf/", "D:only dirs/sub/", "D:only hidden/.x.vmf"});
    Form1& form = start();
    const QStringList drives = items(form.Drive1->model());
    EXPECT_TRUE(drives.contains(drive('C')) && drives.contains(drive('D'))) << drives.join(' ').toStdString();
    for (const QString& other :
         {drive('D').toUpper() + "\\", QStringLiteral("q:"), QStringLiteral("\\\\server\\share")})
        form.Drive1->setDrive(other); // the unknown ones change nothing
    EXPECT_EQ(form.Drive1->Drive(), drive('D'));
    const QString maps = at("D:\\my maps");
    form.Dir1->setPath(maps);
    QStringList ancestors = maps.split(QLatin1Char('\\'));
    ancestors[0] = ancestors[0].toLower() + QLatin1Char('\\');
    EXPECT_EQ(items(form.Dir1->model()), ancestors + QStringList({"Beta", "x.vmf", "\u00e4lt"}));
    EXPECT_EQ(form.Dir1->ancestorCount(), ancestors.size());
    EXPECT_EQ(items(form.File1->model()), (QStringList{"a.vmf", "b.VMF"}));
    EXPECT_EQ(form.File1->FileName(), QString());
    const QRect row = form.File1->visualItemRect(form.File1->item(1));
    QTest::mouseClick(form.File1->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
    EXPECT_EQ(form.File1->FileName(), QStringLiteral("b.VMF"));
    const QByteArray stored = settingsText();
    EXPECT_GE(stored.indexOf("LastFile=b.VMF"), 0) << stored.constData();
    EXPECT_GT(stored.indexOf("LastDir=" + ansi(maps)), stored.indexOf("LastFile=b.VMF")) << stored.constData();

    Form1& next = start();
    EXPECT_EQ(next.Drive1->Drive() + '|' + next.Dir1->Path() + '|' + next.File1->Path(),
              drive('D') + '|' + maps + '|' + maps);
    EXPECT_EQ(items(next.File1->model()), (QStringList{"a.vmf", "b.VMF"}));
    EXPECT_EQ(next.File1->FileName(), QString());
    for (const QString& lastDir :
         {at("D:\\only dirs"), at("D:\\only hidden"), at("D:\\missing"), QStringLiteral("Q:\\my maps"), QString()}) {
        writeSettings("[settings]\r\nLastDir=" + ansi(lastDir) + "\r\n");
        EXPECT_EQ(start().Dir1->Path(), at("C:")) << lastDir.toStdString();
    }
}

} // namespace
} // namespace qmxtest
