#pragma once

// A fresh program directory per test, with a blank and a non-ASCII letter in its path, holding a copy
// of the shipped language file. The OS layer's program directory points there while it lives.

#include <QString>
#include <QTemporaryDir>

namespace qmxtest {

class Sandbox
{
public:
    explicit Sandbox(bool withLanguageFile = true);
    ~Sandbox();

    QString hostDir() const { return m_programDir; } // host path of the program directory
    QString windowsDir() const; // the same, Windows-form
    QString hostPath(const QString& name) const; // a file in it, host path
    QString settingsFile() const { return hostPath(QStringLiteral("settings.qmxII")); }
    QString languageFile() const { return hostPath(QStringLiteral("language.qmxII")); }

    // Writes a file (bytes as given) into the program directory.
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;
    // Makes a directory (and parents) under the sandbox root and returns its host path.
    QString makeDir(const QString& relative) const;

private:
    QTemporaryDir m_root;
    QString m_programDir;
};

} // namespace qmxtest
