#pragma once

// A shown main window over a sandbox: a map directory with a.vmf, an SDK and a game directory, all paths with
// blanks and a non-ASCII letter (but see AsciiToolDirs), and a fake wineconsole first on the PATH that records
// its arguments, waits while a "hold" file has no "go" file, and leaves a.bsp beside the map.

#include "core/os/Os.h"
#include "main_window/Form1.h"
#include "storage/Module1Ini.h"
#include "support/Recorders.h"
#include "support/Sandbox.h"
#include "support/ScopedEnvironment.h"
#include "toolkit/CheckBox.h"
#include "toolkit/DirList.h"
#include "toolkit/FileList.h"
#include "toolkit/TextBox.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using qmxtest::messages;

// Wine's cmd reads compile.bat in the OEM code page, so a real run needs ASCII map and SDK paths.
template <bool AsciiToolDirs = false> class CompileFixtureT : public testing::Test
{
protected:
    void SetUp() override
    {
        writeHost(m_mapDir + "/a.vmf", "versioninfo\n");
        const QString runner = m_binDir + "/wineconsole";
        writeHost(runner,
                  QString("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '%1/args.txt'\n"
                          "if [ -e '%1/hold' ]; then while [ ! -e '%1/go' ]; do sleep 0.01; done; fi\n"
                          "printf 'compiled' > '%2/a.bsp'\n")
                      .arg(m_binDir, m_mapDir)
                      .toUtf8());
        QFile::setPermissions(runner, QFile::permissions(runner) | QFileDevice::ExeOwner);
        qputenv("PATH", m_binDir.toUtf8() + ':' + m_realPath);
        m_form->SDKDir = win(m_sdkDir);
        m_form->Dir2->setPath(win(m_gameDir));
        m_form->show();
    }

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

    qmxtest::ScopedEnvironment m_environment{"PATH", "QMX_STANDIN_LOG", "vproject"};
    const QByteArray m_realPath = qgetenv("PATH"); // without the fake console
    qmxtest::Sandbox m_sandbox;
    QTemporaryDir m_ascii{QDir::tempPath() + "/qmx e2e XXXXXX"};
    const QString m_toolRoot = AsciiToolDirs ? m_ascii.path() : m_sandbox.makeDir("tools"); // host paths
    const QString m_mapDir = mkdir(m_toolRoot + "/my maps");
    const QString m_sdkDir = mkdir(m_toolRoot + "/sdk dir/bin");
    const QString m_gameDir = m_sandbox.makeDir("game \u00f6/maps");
    const QString m_binDir = m_sandbox.makeDir("fake bin");
    std::unique_ptr<Form1> m_form = std::make_unique<Form1>();
};
using CompileFixture = CompileFixtureT<>;
