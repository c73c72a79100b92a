#pragma once

// A stand-in for a desktop program (a help viewer, xdg-open): a shell script on a PATH of its own
// that writes its arguments, one a line, into a file, so a test sees what the program was started with.

#include <QString>
#include <QStringList>

namespace qmxtest {

class FakeProgram
{
public:
    // Puts `name` into binDir and binDir in front of PATH (or alone on it when `alone`).
    FakeProgram(const QString& binDir, const QString& name, bool alone = false);
    ~FakeProgram();

    // Waits until the program has run, and returns its arguments; empty on timeout.
    QStringList waitForArguments(int timeoutMs = 10000) const;
    bool hasRun() const;

private:
    QString m_outFile;
    QByteArray m_oldPath;
};

} // namespace qmxtest
