#include "support/Sandbox.h"

#include "core/os/Os.h"

#include <QDir>
#include <QFile>

namespace qmxtest {

Sandbox::Sandbox(bool withLanguageFile)
    : m_root(QDir::tempPath() + QStringLiteral("/qmx test \u00e4-XXXXXX"))
{
    m_programDir = m_root.path() + QStringLiteral("/prog dir \u00fc");
    QDir().mkpath(m_programDir);
    if (withLanguageFile)
        QFile::copy(QStringLiteral(QMX_SOURCE_DIR "/resources/language.qmxII"), languageFile());
    qmx::os::overrideProgramDirectory(m_programDir.toStdString());
}

Sandbox::~Sandbox()
{
    qmx::os::overrideProgramDirectory({});
}

QString Sandbox::windowsDir() const
{
    return QString::fromStdString(qmx::os::toWindowsPath(m_programDir.toStdString()));
}

QString Sandbox::hostPath(const QString& name) const
{
    return m_programDir + QLatin1Char('/') + name;
}

void Sandbox::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile f(hostPath(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray Sandbox::readFile(const QString& name) const
{
    QFile f(hostPath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString Sandbox::makeDir(const QString& relative) const
{
    const QString path = m_root.path() + QLatin1Char('/') + relative;
    QDir().mkpath(path);
    return path;
}

} // namespace qmxtest
