#include "compile/CompileFixture.h"

#include "storage/qt/Module1Ini.h"
#include "toolkit/CheckBox.h"
#include "toolkit/DirList.h"
#include "toolkit/FileList.h"
#include "toolkit/TextBox.h"
#include "toolkit/os/Os.h"

#include <QFile>
#include <QTest>

void CompileFixture::SetUp()
{
    m_sandbox = std::make_unique<qmxtest::Sandbox>();
    m_mapDir = m_sandbox->makeDir(QStringLiteral("my maps"));
    m_sdkDir = m_sandbox->makeDir(QStringLiteral("sdk dir/bin"));
    m_gameDir = m_sandbox->makeDir(QStringLiteral("game \u00f6/maps"));
    m_binDir = m_sandbox->makeDir(QStringLiteral("fake bin"));
    writeHost(m_mapDir + QStringLiteral("/a.vmf"), "versioninfo\n");

    // The fake runner: records its arguments, optionally waits for a "go" file, writes the .bsp.
    const QString script = m_binDir + QStringLiteral("/wineconsole");
    writeHost(script,
              QStringLiteral("#!/bin/sh\n"
                             "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '%1/args.txt'\n"
                             "if [ -e '%1/hold' ]; then while [ ! -e '%1/go' ]; do sleep 0.01; done; fi\n"
                             "printf 'compiled' > '%2/a.bsp'\n")
                  .arg(m_binDir, m_mapDir)
                  .toUtf8());
    QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
    m_oldPath = qgetenv("PATH");
    qputenv("PATH", m_binDir.toUtf8() + ':' + m_oldPath);

    m_form = std::make_unique<Form1>();
    m_form->SDKDir = win(m_sdkDir);
    m_form->Dir2->setPath(win(m_gameDir));
    m_form->show();
}

void CompileFixture::TearDown()
{
    m_form->compileRunning = false;
    m_form.reset();
    qputenv("PATH", m_oldPath);
    m_sandbox.reset();
}

QString CompileFixture::win(const QString& hostPath)
{
    return QString::fromStdString(qmx::os::toWindowsPath(hostPath.toStdString()));
}

QByteArray CompileFixture::readHost(const QString& hostPath)
{
    QFile f(hostPath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void CompileFixture::writeHost(const QString& hostPath, const QByteArray& bytes)
{
    QFile f(hostPath);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << hostPath.toStdString();
    f.write(bytes);
}

void CompileFixture::pickMap(const QString& name)
{
    m_form->Dir1->setPath(win(m_mapDir));
    const QList<QListWidgetItem*> items = m_form->File1->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << name.toStdString();
    QListWidget* list = m_form->File1;
    const QRect rect = list->visualItemRect(items.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    ASSERT_EQ(m_form->File1->FileName(), name);
}

void CompileFixture::tick(const QString& name, bool on)
{
    qmx::CheckBox* box = m_form->checkBox(name);
    ASSERT_NE(box, nullptr) << name.toStdString();
    if ((box->Value() == 1) != on)
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); // on the indicator
    ASSERT_EQ(box->Value(), on ? 1 : 0) << name.toStdString();
}

void CompileFixture::setText(const QString& name, const QString& text)
{
    qmx::TextBox* box = m_form->textBox(name);
    ASSERT_NE(box, nullptr) << name.toStdString();
    box->setText(text);
}

QString CompileFixture::setting(const char* key) const
{
    return Module1::ReadIniValue(Module1::SettingsFile(), QStringLiteral("settings"), QString::fromLatin1(key));
}

QByteArray CompileFixture::batchBytes() const
{
    return readHost(m_sdkDir + QStringLiteral("/compile.bat"));
}

QByteArray CompileFixture::runnerArgs() const
{
    return readHost(m_binDir + QStringLiteral("/args.txt"));
}

void CompileFixture::holdRunner()
{
    writeHost(m_binDir + QStringLiteral("/hold"), "");
}

void CompileFixture::release()
{
    writeHost(m_binDir + QStringLiteral("/go"), "");
}
