#pragma once

// A fresh program directory per test, with a blank and a non-ASCII letter in its path, holding a copy
// of the shipped language file. The OS layer's program directory points there while it lives.

#include "core/os/Os.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qmxtest {

// A host file's bytes; empty when it cannot be read.
inline QByteArray readHost(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeHost(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()) << path.toStdString();
}

class Sandbox
{
public:
    explicit Sandbox(bool withLanguageFile = true)
    {
        QDir().mkpath(m_programDir);
        if (withLanguageFile)
            QFile::copy(QStringLiteral(QMX_SOURCE_DIR "/resources/language.qmxII"), languageFile());
        qmx::os::overrideProgramDirectory(m_programDir.toStdString());
    }
    ~Sandbox() { qmx::os::overrideProgramDirectory({}); }

    QString hostDir() const { return m_programDir; } // host path of the program directory
    QString hostPath(const QString& name) const { return m_programDir + QLatin1Char('/') + name; }
    QString settingsFile() const { return hostPath(QStringLiteral("settings.qmxII")); }
    QString languageFile() const { return hostPath(QStringLiteral("language.qmxII")); }
    void writeFile(const QString& name, const QByteArray& bytes) const { writeHost(hostPath(name), bytes); }
    QByteArray readFile(const QString& name) const { return readHost(hostPath(name)); }
    // Makes a directory (and parents) under the sandbox root and returns its host path.
    QString makeDir(const QString& relative) const
    {
        const QString path = m_root.path() + QLatin1Char('/') + relative;
        return QDir().mkpath(path) ? path : QString();
    }

private:
    QTemporaryDir m_root{QDir::tempPath() + QStringLiteral("/qmx test \u00e4-XXXXXX")};
    QString m_programDir = m_root.path() + QStringLiteral("/prog dir \u00fc");
};

} // namespace qmxtest
