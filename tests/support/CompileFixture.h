#pragma once

// A shown main window over a sandbox, found as tests and assistive technology find it: by object names. A map
// directory with a.vmf, an SDK and a game directory, all paths with blanks (and a non-ASCII letter where no
// batch file names them). The SDK directory holds the stand-in tools (demo/standin), run for real (on Linux
// through Wine): they record their command lines, hold while the bin folder has "hold" and no "go", and the
// BSP stand-in leaves a.bsp beside the map. The game is the stand-in too, in a folder with a blank and a
// non-ASCII letter: it records how it was started and holds while bin/game has "hold" and no "go".

#include "core/game/GameSettings.h"
#include "core/os/Os.h"
#include "core/storage/IniFile.h"
#include "core/storage/ProgramFiles.h"
#include "gui/toolkit/CheckBox.h"
#include "gui/toolkit/DirList.h"
#include "gui/toolkit/FileList.h"
#include "gui/toolkit/TextBox.h"
#include "gui/toolkit/Texts.h"
#include "gui/windows/MainWindow.h"
#include "support/Recorders.h"
#include "support/Sandbox.h"
#include "support/ScopedEnv.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using qmxtest::messages;
using qmxtest::readHost;
using qmxtest::writeHost;

// The object of that name under root, or a failed test.
template <class T = QWidget> T* child(const QObject* root, const QString& name)
{
    T* found = root->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << "no " << name.toStdString();
    return found;
}

// The top-level window of that name, or nullptr.
inline QWidget* topLevel(const char* name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name))
            return w;
    return nullptr;
}

// A host path in the Windows form the program keeps every path in.
inline QString win(const QString& host)
{
    return QString::fromStdString(qmx::os::toWindowsPath(host.toStdString()));
}

class CompileFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        writeHost(m_mapDir + "/a.vmf", "versioninfo\n");
        for (const char* tool : {"qmxbsp.exe", "qmxvis.exe", "qmxrad.exe"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(QMX_STANDIN_DIR "/") + tool, m_sdkDir + '/' + tool)) << tool;
        qmxtest::ScopedEnv::set("QMX_STANDIN_LOG", win(m_binDir + "/run.txt").toStdString());
        qmxtest::ScopedEnv::set("QMX_STANDIN_HOLD", win(m_binDir).toStdString());
        qmxtest::ScopedEnv::unset("QMX_STANDIN_FAIL");
        qmxtest::ScopedEnv::set("vproject", "my mod");
        ASSERT_TRUE(QFile::copy(QStringLiteral(QMX_STANDIN_DIR "/qmxgame.exe"), m_gameExe));
        qmxtest::ScopedEnv::set("QMX_GAME_LOG", win(m_binDir + "/game.txt").toStdString());
        qmxtest::ScopedEnv::set("QMX_GAME_HOLD", win(m_gameHold).toStdString());
        ASSERT_TRUE(qmx::game::writeGameCommand(win(m_gameExe).toStdString(), "+map $map -dir \"$gamedir\""));
        m_form->setSdkDirectory(win(m_sdkDir));
        dirList("Dir2")->setPath(win(m_gameDir));
        m_form->show();
    }
    void TearDown() override // a held run or game never outlives the test
    {
        writeHost(m_binDir + "/go", "");
        writeHost(m_gameHold + "/go", "");
    }

    static QString mkdir(const QString& path) { return QDir().mkpath(path) ? path : QString(); }
    // A text of the language file by its key.
    static QString languageKey(const QString& key)
    {
        return QString::fromStdString(qmx::ini::readValue(qmx::languageFilePath(), "language", key.toStdString()));
    }

    qmx::DirList* dirList(const QString& name) const { return child<qmx::DirList>(m_form.get(), name); }
    QAction* action(const QString& name) const { return child<QAction>(m_form.get(), name); }
    QString status() const { return m_form->statusBar()->currentMessage(); }

    // Opens the map directory in Dir1 and clicks the map in File1, as a user does.
    void pickMap()
    {
        dirList("Dir1")->setPath(win(m_mapDir));
        auto* files = child<qmx::FileList>(m_form.get(), "File1");
        QListWidgetItem* item = files->findItems("a.vmf", Qt::MatchExactly).value(0);
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(item).center());
        ASSERT_EQ(files->FileName(), "a.vmf");
    }
    // Clicks a check box's indicator until it shows `on`; "box=value" sets a value box's text.
    void tick(const QString& name, bool on = true)
    {
        if (name.contains('='))
            return child<qmx::TextBox>(m_form.get(), name.section('=', 0, 0))->setText(name.section('=', 1));
        auto* b = child<qmx::CheckBox>(m_form.get(), name);
        if ((b->Value() == 1) != on)
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
        ASSERT_EQ(b->Value(), on ? 1 : 0) << name.toStdString();
    }
    // Compiles as the menu does and returns once the run's end has been handled.
    void compile()
    {
        action("MenuCompile")->trigger();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_form->compiling(); }, 60000));
    }
    QByteArray batchBytes() const { return readHost(m_sdkDir + "/compile.bat"); }
    QByteArray runRecord() const { return readHost(m_binDir + "/run.txt"); }
    // How the game was started, once it has written it: its working directory and arguments ("": it did not start).
    QString gameRun() const
    {
        QByteArray record;
        const bool started
            = QTest::qWaitFor([&] { return !(record = readHost(m_binDir + "/game.txt")).isEmpty(); }, 60000);
        QFile::remove(m_binDir + "/game.txt");
        return started ? QString::fromUtf8(record.mid(record.indexOf("working directory:"))) : QString();
    }
    // The compiled map as the run leaves it, beside the map or copied into the game directory.
    static bool isCompiledMap(const QByteArray& bytes) { return bytes.startsWith("stand-in BSP compiled from "); }

    qmxtest::ScopedEnv m_environment{"PATH",     "QMX_STANDIN_LOG", "QMX_STANDIN_HOLD", "QMX_STANDIN_FAIL",
                                     "vproject", "QMX_GAME_LOG",    "QMX_GAME_HOLD"};
    qmxtest::Sandbox m_sandbox;
    QTemporaryDir m_ascii{QDir::tempPath() + "/qmx e2e XXXXXX"}; // the batch file names map and SDK: ASCII
    const QString m_mapDir = mkdir(m_ascii.path() + "/my maps"); // host paths
    const QString m_sdkDir = mkdir(m_ascii.path() + "/sdk dir/bin");
    const QString m_gameDir = m_sandbox.makeDir("game \u00f6/maps");
    const QString m_binDir = m_sandbox.makeDir("fake bin");
    const QString m_gameHold = m_sandbox.makeDir("fake bin/game");
    const QString m_gameExe = m_sandbox.makeDir("game \u00f6/bin") + "/qmx g\u00e4me.exe";
    // What the game records when the window starts it on the compiled map with the template above.
    const QString m_gameOnTheMap = "working directory: " + win(QFileInfo(m_gameExe).path()) + "\r\nargument: +map\r\n"
        + "argument: a\r\nargument: -dir\r\nargument: " + win(m_gameDir) + "\r\n";
    std::unique_ptr<qmx::MainWindow> m_form = std::make_unique<qmx::MainWindow>();
};
