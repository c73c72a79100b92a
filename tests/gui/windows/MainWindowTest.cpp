// The windows on the real program: start-up and shut-down, captions as the screen and assistive technology show
// them, where the SDK comes from, the browsers, the keyboard, the credits window and window placement. A known
// language file, no sourcesdk variable, and two sandbox folders stand in for drives C: and D:.

#include "core/options/OptionCatalogue.h"
#include "core/os/Os.h"
#include "gui/toolkit/Application.h"
#include "gui/toolkit/CentreWindow.h"
#include "gui/toolkit/DriveList.h"
#include "support/AccessibleTree.h"
#include "support/CompileFixture.h"
#include "support/UserRegistry.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QWindow>

namespace {

using qmxtest::ScopedEnv;

const char* const kLanguage
    = "[LANGUAGE]\r\nProgramOpen=\" is already running.\"\r\nFrame2=Maps\r\nFrame4=Game\r\nMenuCompile=Build\r\n"
      "Presets=Sets\r\npreset=Set\r\nsave=Store\r\nload=Fetch\r\nCopyFIle=Copy it\r\nFrame3=Options\r\n"
      "RunMap=Map im Spiel starten\r\nGameCommand=Spiel...\r\nGameRunTip=Ohne Kompilieren spielen\r\n"
      "Credits=Back\r\nForm3=Danke\r\n";

class StartUpTest : public testing::Test
{
protected:
    StartUpTest()
    {
        QDir::setCurrent(m_hostC); // the lists open on the current directory when nothing else is given
        ScopedEnv::set("sourcesdk", "C:\\sdk");
        m_sandbox.writeFile("language.qmxII", kLanguage);
    }
    ~StartUpTest() override
    {
        m_form.reset();
        QDir::setCurrent(m_oldCurrent);
        qmx::os::releaseInstanceLock();
    }

    // "D:\maps" on the test's drives: the path under the drive's root folder; "d:", the drive list's name.
    QString at(const QString& path) const { return (path.at(0).toUpper() == 'C' ? m_rootC : m_rootD) + path.mid(2); }
    QString drive(char letter) const { return (letter == 'C' ? m_rootC : m_rootD).left(2).toLower(); }
    // Makes folders ("D:a/b/") and files ("D:a/b.vmf") on the test's drives.
    void make(std::initializer_list<const char*> paths) const
    {
        for (const char* path : paths) {
            const QString host = (path[0] == 'C' ? m_hostC : m_hostD) + QLatin1Char('/') + QString::fromUtf8(path + 2);
            QDir().mkpath(QFileInfo(host).path());
            QFile(host).open(QIODevice::WriteOnly); // nothing for a folder
        }
    }
    // The settings file's text, in the ANSI code page the program keeps it in.
    void writeSettings(const QString& text) const
    {
        m_sandbox.writeFile("settings.qmxII", QByteArray::fromStdString(qmx::os::toAnsi(text.toStdString())));
    }
    QString settingsText() const
    {
        return QString::fromStdString(qmx::os::fromAnsi(m_sandbox.readFile("settings.qmxII").toStdString()));
    }

    qmx::MainWindow& start()
    {
        m_form.reset();
        qmx::os::releaseInstanceLock(); // as if the program had ended
        m_form = std::make_unique<qmx::MainWindow>();
        m_form->start();
        return *m_form;
    }
    template <class T = QWidget> T* get(const QString& name) const { return child<T>(m_form.get(), name); }

    ScopedEnv m_environment{"sourcesdk"};
    const QString m_oldCurrent = QDir::currentPath();
    qmxtest::Sandbox m_sandbox{false};
    qmxtest::UserRegistry m_registry; // on Linux also the Wine prefix, so it comes before any path
    const QString m_hostC = m_sandbox.makeDir("drive c"); // the roots' folders, host paths
    const QString m_hostD = m_sandbox.makeDir("spiele f\u00fcr d"); // non-ASCII and a blank
    const QString m_rootC = win(m_hostC), m_rootD = win(m_hostD);
    std::unique_ptr<qmx::MainWindow> m_form;
};

} // namespace

// Centred with the frame a window manager gives it: placement_test.sh runs it on X with one; skipped elsewhere.
TEST_F(StartUpTest, WindowsAreCentredWithTheirFrames)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server with a window manager";
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const auto expectCentred = [&screen](const char* name, QWidget* window) {
        SCOPED_TRACE(name);
        ASSERT_NE(window, nullptr);
        const auto centred = [&] {
            const QRect frame = window->frameGeometry();
            const QPoint expected(screen.x() + int(qmx::CentredOffset(screen.width(), frame.width())),
                                  screen.y() + int(qmx::CentredOffset(screen.height(), frame.height())));
            const bool framed = window->windowHandle() && !window->windowHandle()->frameMargins().isNull();
            return framed && (frame.topLeft() - expected).manhattanLength() <= 3;
        };
        EXPECT_TRUE(QTest::qWaitFor(centred, 5000)) << "frame at " << window->x() << "," << window->y();
    };
    expectCentred("main window", &start());
    // Dragged at once, it stays where the user put it, also after the watch for its frame has ended.
    const QPoint dragged = m_form->pos() + QPoint(40, 30);
    m_form->move(dragged);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_form->findChild<QObject*>("qmx_frameWatch"); }, 5000));
    EXPECT_EQ(m_form->pos(), dragged);
    get<QAction>("MenuCredits")->trigger();
    expectCentred("credits window", topLevel("Form3"));
    ScopedEnv::unset("sourcesdk");
    start();
    expectCentred("SDK folder window", topLevel("Form2"));
}

// A missing language file is reported before another instance; either ends at once, writing nothing.
TEST_F(StartUpTest, MissingLanguageFileOrSecondInstanceEndsAtOnce)
{
    const QString kept = "[settings]\r\nLastUsedSettings=keep\r\n";
    const std::pair<bool, QString> cases[] = {
        // the language file, prompt|style|title
        {true, qmx::ExecutableName() + " is already running.|0|QMX GUI II"},
        {false, "Language-File not found. Program closed due to missing Language Pack.|16|QMX GUI II - Critical Error"},
    };
    writeSettings(kept);
    for (const auto& [languageFile, message] : cases) {
        SCOPED_TRACE(message.toStdString());
        qmxtest::resetRecorders();
        if (!languageFile)
            QFile::remove(m_sandbox.languageFile());
        QProcess other; // another copy for the same program directory, holding the lock till its input closes
        other.start(QCoreApplication::applicationDirPath() + "/instance_holder", {m_sandbox.hostDir()});
        ASSERT_TRUE(other.waitForReadyRead(10000) && other.readLine().trimmed() == "held");
        qmx::MainWindow& form = start();
        other.closeWriteChannel();
        other.waitForFinished();
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(QString("%1|%2|%3").arg(messages()[0].prompt).arg(messages()[0].style).arg(messages()[0].title),
                  message);
        EXPECT_EQ(qmxtest::recorded().endProgramCount, 1);
        EXPECT_TRUE(!form.isVisible() && !topLevel("Form2"));
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
        m_sandbox.writeFile("language.qmxII", language);
        qmx::MainWindow& f = start();
        QStringList captions; // the menus in order, then the rest
        for (QAction* a : f.menuBar()->actions() + get<QMenu>("presets")->actions()
                 + get<QMenu>("presetload")->actions() + get<QMenu>("presetsave")->actions())
            captions << a->text();
        auto* tabs = get<QTabWidget>("SSTab1");
        captions << get<QGroupBox>("Frame2")->title() << get<QGroupBox>("Frame4")->title()
                 << get<qmx::CheckBox>("CopyFile")->text() << tabs->tabText(0) << tabs->tabText(1) << tabs->tabText(2)
                 << get<qmx::CheckBox>("RunMap")->text() << get<QPushButton>("GameCommand")->text();
        EXPECT_EQ((captions.join('|') + '|' + get<QPushButton>("GameCommand")->toolTip()).toStdString(), expected);

        const QStringList names = qmxtest::accessibleNames(&f);
        for (const QString& caption : captions)
            EXPECT_TRUE(caption.trimmed().isEmpty() || names.contains(caption)) << caption.toStdString();
        for (const char* design : {"Map-Directory", "Game-Directory", "Copy File to this directory after compile",
                                   "Preset 1", "Compile", "Save", "Load"})
            EXPECT_FALSE(names.contains(QString::fromUtf8(design))) << design;
        // The SDK label says what it is, and the directory itself.
        QAccessibleInterface* sdk = QAccessible::queryAccessibleInterface(get<QLabel>("Label1"));
        EXPECT_EQ(sdk->text(QAccessible::Name) + '|' + sdk->text(QAccessible::Description),
                  "SDK directory|C:\\sdk \u00e4\\bin");
    }
}

// What a start restores: the SDK's bin directory from the first source that is not empty (which registry values
// count is the registry reader's business); the map directory when it still holds ordinary files; the game
// directory likewise, else the launcher's steamapps folder, but not for a launcher path too short to cut or on an
// unknown drive. With no SDK directory the folder window asks; closing it ends without storing, Done! stores the
// choice for this and the next run.
TEST_F(StartUpTest, StartRestoresTheFirstUsableSourceOrAsksForTheSdk)
{
    make({"C:maps/a.vmf", "C:mods/readme.txt", "D:sdk/bin/", "D:only dirs/sub/", "D:only hidden/.x.vmf",
          "D:games/steam/steamapps/common/"});
    const std::string steam = at("d:/games/steam/steam.exe").toStdString();
    const QString stored = "SDKDir=F:\\stored\r\n";
    const std::tuple<const char*, std::optional<std::string>, std::optional<std::string>, QString, QString> cases[] = {
        // sourcesdk (nullptr: none), the editor's and the launcher's registry values, the settings; the SDK
        // directory, the map and the game directories then open
        {"C:\\sdk", "E:\\tools\\bin", steam, stored + "LastDir=" + at("C:\\maps"),
         "C:\\sdk\\bin|" + at("C:\\maps") + '|' + at("D:\\games\\steam\\steamapps")},
        {"", "", steam, stored + "LastDir=" + at("D:\\only dirs") + "\r\nLastMapDir=" + at("C:\\mods"),
         "F:\\stored|" + at("C:") + '|' + at("C:\\mods")},
        {nullptr, std::nullopt, (drive('D') + "/steam.ex").toStdString(),
         "SDKDir=Q:\\gone\r\nLastDir=" + at("D:\\only hidden"), "Q:\\gone|" + at("C:") + '|' + at("C:")},
        {"C:\\sdk", std::nullopt, std::nullopt, "LastDir=Q:\\my maps", "C:\\sdk\\bin|" + at("C:") + '|' + at("C:")},
    };
    for (const auto& [sourcesdk, editor, launcher, settings, expected] : cases) {
        SCOPED_TRACE(settings.toStdString());
        sourcesdk ? ScopedEnv::set("sourcesdk", sourcesdk) : ScopedEnv::unset("sourcesdk");
        m_registry.set("Software\\Valve\\Hammer\\General", "Directory", editor);
        m_registry.set("Software\\Valve\\Steam", "SteamExe", launcher);
        writeSettings("[settings]\r\n" + settings + "\r\n");
        start();
        EXPECT_TRUE(m_form->isVisible() && !topLevel("Form2"));
        const QString opened = get<QLabel>("Label1")->text() + '|' + get<qmx::DirList>("Dir1")->Path() + '|'
            + get<qmx::DirList>("Dir2")->Path();
        EXPECT_EQ(opened.toLower(), expected.toLower()); // the steamapps folder in the system's own spelling
    }

    ScopedEnv::unset("sourcesdk");
    const QString kept = "[settings]\r\nLastDir=" + at("C:\\maps") + "\r\n";
    writeSettings(kept);
    start();
    ASSERT_NE(topLevel("Form2"), nullptr);
    topLevel("Form2")->close();
    EXPECT_EQ(qmxtest::recorded().endProgramCount, 1);
    EXPECT_EQ(settingsText(), kept);

    start();
    QWidget* folder = topLevel("Form2");
    ASSERT_TRUE(folder && folder->isVisible() && !m_form->isVisible());
    EXPECT_EQ(get<qmx::DirList>("Dir1")->Path(), at("C:\\maps")); // restored behind it
    child<qmx::DriveList>(folder, "Drive1")->setDrive(drive('D'));
    child<qmx::DirList>(folder, "Dir1")->setPath(at("D:\\sdk\\bin"));
    QTest::mouseClick(child<QPushButton>(folder, "Command1"), Qt::LeftButton);
    EXPECT_TRUE(!folder->isVisible() && m_form->isVisible());
    EXPECT_EQ(get<QLabel>("Label1")->text(), at("D:\\sdk\\bin"));
    EXPECT_TRUE(settingsText().contains("SDKDir=" + at("D:\\sdk\\bin") + "\r\n"));
}

// A damaged settings file gives the default window; the options survive shut-down and the next start, the
// run-after-compile box comes back as stored. The credits window swaps with the main window, its title from the
// language file, and comes back where the user put it; closing it ends the program without storing the options.
TEST_F(StartUpTest, SettingsSurviveShutDownButNotTheCreditsWindowsClose)
{
    static const char binary[] = "\0\0\xff\xfe[settings]\r\nLastUsedSettings=1|x|,,,|";
    m_sandbox.writeFile("settings.qmxII", QByteArray(binary, sizeof binary - 1));
    start();
    const auto ticks = [&] {
        QString values;
        for (const char* name : {"VIS", "CopyFile", "RunMap"})
            values += QString::number(get<qmx::CheckBox>(name)->Value());
        return values;
    };
    EXPECT_EQ(ticks(), "000");
    get<qmx::CheckBox>("VIS")->setValue(1);
    get<qmx::CheckBox>("CopyFile")->setValue(1);
    m_form->close();
    EXPECT_EQ(qmxtest::recorded().endProgramCount, 1);
    const QString stored = settingsText();
    EXPECT_TRUE(stored.contains("LastUsedSettings=0,1,0|") && stored.trimmed().endsWith("|1")) << stored.toStdString();
    writeSettings(stored + "RunMap=1\r\n");
    start();
    EXPECT_EQ(ticks(), "111");

    get<QAction>("MenuCredits")->trigger();
    QWidget* credits = topLevel("Form3");
    ASSERT_TRUE(credits && credits->isVisible() && !m_form->isVisible());
    EXPECT_TRUE(qmxtest::accessibleNames(credits).contains("QMX GUI II Danke"));
    const QPoint moved = credits->pos() + QPoint(37, 21);
    credits->move(moved);
    child<QAction>(credits, "MenuBack")->trigger();
    EXPECT_TRUE(!credits->isVisible() && m_form->isVisible());
    get<QAction>("MenuCredits")->trigger();
    EXPECT_TRUE(credits->isVisible() && !m_form->isVisible());
    EXPECT_EQ(credits->pos(), moved);
    get<qmx::CheckBox>("VIS")->setValue(0);
    credits->close();
    EXPECT_EQ(qmxtest::recorded().endProgramCount, 2);
    EXPECT_EQ(settingsText(), stored + "RunMap=1\r\n");
}

// A click in the browser stores the map, then its directory, and the next start lists that directory again with
// nothing picked.
TEST_F(StartUpTest, BrowsersComeBackWhereTheUserLeftThem)
{
    make({"D:my maps/b.VMF", "D:my maps/a.vmf"});
    start();
    const QString maps = at("D:\\my maps");
    get<qmx::DriveList>("Drive1")->setDrive(drive('D'));
    get<qmx::DirList>("Dir1")->setPath(maps);
    auto* files = get<qmx::FileList>("File1");
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(1)).center());
    const QString stored = settingsText();
    EXPECT_GT(stored.indexOf("LastDir=" + maps), stored.indexOf("LastFile=b.VMF")) << stored.toStdString();
    start();
    EXPECT_EQ(get<qmx::DriveList>("Drive1")->Drive() + '|' + get<qmx::DirList>("Dir1")->Path(),
              drive('D') + '|' + maps);
    EXPECT_EQ(get<qmx::FileList>("File1")->FileName(), QString()); // nothing picked until a click
}

// The keyboard walks the window in reading order, and the Alt access keys follow the captions. Ctrl+F9 says why it
// cannot start the game, or starts it on the map in the game directory without compiling; while the game runs, F9
// compiles. (The game's other refusals, in their order: the game run's test.)
TEST_F(CompileFixture, TheKeyboardWalksInReadingOrderCompilesAndRunsTheGame)
{
    QStringList expected
        = {"Drive1", "Dir1", "File1", "Drive2", "Dir2", "CopyFile", "RunMap", "GameCommand", "BSP", "VIS", "RAD"};
    for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) // pages and rows in reading order
        expected << entry.name << entry.textBoxName;
    expected.removeAll(QString());
    QWidget* first = child(m_form.get(), "Drive1");
    QStringList seen = {"Drive1"};
    for (QWidget* w = first->nextInFocusChain(); w != first; w = w->nextInFocusChain())
        if (expected.contains(w->objectName()) && !seen.contains(w->objectName()))
            seen << w->objectName();
    EXPECT_EQ(seen, expected);

    m_sandbox.writeFile("language.qmxII", "[language]\r\nMenuCompile=Build\r\nnomap=Pick a map.\r\n");
    const ScopedEnv sdk("sourcesdk", "C:\\sdk");
    m_form->start(); // the captions and their keys; then the fixture's directories again
    m_form->setSdkDirectory(win(m_sdkDir));
    dirList("Dir2")->setPath(win(m_gameDir));
    QApplication::setActiveWindow(m_form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    for (const QKeyCombination key : {Qt::AltModifier | Qt::Key_B, Qt::ControlModifier | Qt::Key_F9}) {
        SCOPED_TRACE(QKeySequence(key).toString().toStdString());
        qmxtest::resetRecorders();
        QTest::keyClick(m_form.get(), key.key(), key.keyboardModifiers()); // nothing picked yet
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].prompt + '|' + QString::number(messages()[0].style), "Pick a map.|64");
    }

    pickMap();
    writeHost(m_gameDir + "/a.bsp", "compiled");
    writeHost(m_gameHold + "/hold", "");
    qmxtest::resetRecorders();
    QTest::keyClick(m_form.get(), Qt::Key_F9, Qt::ControlModifier);
    EXPECT_TRUE(status().startsWith(qmx::languageText(qmx::config::Text::GameStarted))) << status().toStdString();
    EXPECT_EQ(gameRun(), m_gameOnTheMap);
    tick("BSP");
    QTest::keyClick(m_form.get(), Qt::Key_F9);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_form->compiling(); }, 60000));
    ASSERT_EQ(messages().size(), 1u) << "F9 did not compile while the game ran";
    EXPECT_EQ(messages()[0].style, 64);
}

TEST(CentredOffset, RoundsHalvesToEvenThenHalvesTowardZero)
{
    const double cases[][3] = {{15360, 9601, 2879}, {15360, 16361, -500}, {100, 98.5, 1}, {100, 103.5, -2}};
    for (const auto& c : cases)
        EXPECT_EQ(qmx::CentredOffset(c[0], c[1]), static_cast<long long>(c[2])) << c[0] << " " << c[1];
}
