#pragma once

// A shown main window over a sandbox: a map directory with a.vmf, an SDK and a game directory, all paths with
// blanks (and a non-ASCII letter where no batch file names them). The SDK directory holds the stand-in tools
// (tests/standin), run for real (on Linux through Wine): they record their command lines, hold while the bin
// folder has "hold" and no "go", and the BSP stand-in leaves a.bsp beside the map.

#include "core/os/Os.h"
#include "gui/toolkit/CheckBox.h"
#include "gui/toolkit/DirList.h"
#include "gui/toolkit/FileList.h"
#include "gui/toolkit/Module1Ini.h"
#include "gui/toolkit/TextBox.h"
#include "gui/windows/Form1.h"
#include "support/Recorders.h"
#include "support/Sandbox.h"
#include "support/ScopedEnv.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using qmxtest::messages;

// A batch file is read in the console's OEM code page, so the map and SDK paths are ASCII.
class CompileFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        writeHost(m_mapDir + "/a.vmf", "versioninfo\n");
        installTools();
        m_form->SDKDir = win(m_sdkDir);
        m_form->Dir2->setPath(win(m_gameDir));
        m_form->show();
    }
    void TearDown() override { writeHost(m_binDir + "/go", ""); } // a held run never outlives the test

    static QString win(const QString& host)
    {
        return QString::fromStdString(qmx::os::toWindowsPath(host.toStdString()));
    }
    static QString mkdir(const QString& path) { return QDir().mkpath(path) ? path : QString(); }
    static QByteArray readHost(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void writeHost(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()) << path.toStdString();
    }
    // Opens the map directory in Dir1 and clicks the map in File1, as a user does.
    void pickMap()
    {
        m_form->Dir1->setPath(win(m_mapDir));
        QListWidgetItem* item = m_form->File1->findItems("a.vmf", Qt::MatchExactly).value(0);
        QTest::mouseClick(m_form->File1->viewport(), Qt::LeftButton, {}, m_form->File1->visualItemRect(item).center());
        ASSERT_EQ(m_form->File1->FileName(), "a.vmf");
    }
    // Clicks a check box's indicator until it shows `on`; "box=value" sets a value box's text.
    void tick(const QString& name, bool on = true)
    {
        if (name.contains('='))
            return m_form->textBox(name.section('=', 0, 0))->setText(name.section('=', 1));
        qmx::CheckBox* box = m_form->checkBox(name);
        if ((box->Value() == 1) != on)
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        ASSERT_EQ(box->Value(), on ? 1 : 0) << name.toStdString();
    }
    static QString setting(const char* key) { return Module1::ReadIniValue(Module1::SettingsFile(), "settings", key); }
    QByteArray batchBytes() const { return readHost(m_sdkDir + "/compile.bat"); }
    // The compiled map as the run leaves it, beside the map or copied into the game directory.
    static bool isCompiledMap(const QByteArray& bytes) { return bytes.startsWith("stand-in BSP compiled from "); }

    // Compiles as the menu does and returns once the run's end has been handled.
    void compile()
    {
        m_form->Form1_MenuCompile_Click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_form->compiling(); }, 60000));
    }

    // ---- the tools ----
    void installTools()
    {
        for (const char* tool : {"qmxbsp.exe", "qmxvis.exe", "qmxrad.exe"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(QMX_STANDIN_DIR "/") + tool, m_sdkDir + '/' + tool)) << tool;
        qmxtest::ScopedEnv::set("QMX_STANDIN_LOG", win(m_binDir + "/run.txt").toStdString());
        qmxtest::ScopedEnv::set("QMX_STANDIN_HOLD", win(m_binDir).toStdString());
        qmxtest::ScopedEnv::unset("QMX_STANDIN_FAIL");
        qmxtest::ScopedEnv::set("vproject", "my mod");
    }
    QByteArray runRecord() const { return readHost(m_binDir + "/run.txt"); }
    // The tools got compile.bat's lines, %vproject% expanded.
    QByteArray expectedRun() const { return batchBytes().replace("%vproject%", "my mod"); }

    qmxtest::ScopedEnv m_environment{"PATH", "QMX_STANDIN_LOG", "QMX_STANDIN_HOLD", "QMX_STANDIN_FAIL", "vproject"};
    const std::string m_realPath = qmxtest::ScopedEnv::get("PATH").value_or("");
    qmxtest::Sandbox m_sandbox;
    QTemporaryDir m_ascii{QDir::tempPath() + "/qmx e2e XXXXXX"};
    const QString m_toolRoot = m_ascii.path(); // host paths
    const QString m_mapDir = mkdir(m_toolRoot + "/my maps");
    const QString m_sdkDir = mkdir(m_toolRoot + "/sdk dir/bin");
    const QString m_gameDir = m_sandbox.makeDir("game \u00f6/maps");
    const QString m_binDir = m_sandbox.makeDir("fake bin");
    std::unique_ptr<Form1> m_form = std::make_unique<Form1>();
};
