#include "FakeProgram.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace qmxtest {

FakeProgram::FakeProgram(const QString& binDir, const QString& name, bool alone)
    : m_outFile(binDir + QStringLiteral("/") + name + QStringLiteral(".args"))
    , m_oldPath(qgetenv("PATH"))
{
    QDir().mkpath(binDir);
    QFile::remove(m_outFile);
    const QString scriptPath = binDir + QStringLiteral("/") + name;
    QFile script(scriptPath);
    if (script.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        // Written to a temporary name first, so a test never reads half the arguments.
        const QByteArray out = m_outFile.toUtf8();
        script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + out + ".part' && /bin/mv '" + out + ".part' '" + out
                     + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                              | QFile::ExeGroup);
    }
    qputenv("PATH", alone ? binDir.toUtf8() : binDir.toUtf8() + ':' + m_oldPath);
}

FakeProgram::~FakeProgram()
{
    qputenv("PATH", m_oldPath);
}

bool FakeProgram::hasRun() const
{
    return QFile::exists(m_outFile);
}

QStringList FakeProgram::waitForArguments(int timeoutMs) const
{
    if (!QTest::qWaitFor([this] { return hasRun(); }, timeoutMs))
        return {};
    QFile f(m_outFile);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList args = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    if (!args.isEmpty() && args.last().isEmpty())
        args.removeLast();
    return args;
}

} // namespace qmxtest
