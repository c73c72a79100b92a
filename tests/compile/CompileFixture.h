#pragma once

// A main window over a sandbox: a map directory with a map in it, an SDK directory and a game
// directory, paths with blanks (and a non-ASCII letter where compile.bat does not carry it), and a
// fake wineconsole on the PATH that records its arguments and leaves a .bsp beside the map.

#include "main_window/Form1.h"
#include "support/Recorders.h"
#include "support/Sandbox.h"

#include <QString>

#include <gtest/gtest.h>

#include <memory>

class CompileFixture : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Windows-form path of a sandbox host path.
    static QString win(const QString& hostPath);
    static QByteArray readHost(const QString& hostPath);
    static void writeHost(const QString& hostPath, const QByteArray& bytes);

    // Opens the map directory in Dir1 and clicks the map in File1, as a user does.
    void pickMap(const QString& name);
    void tick(const QString& name, bool on = true);
    void setText(const QString& name, const QString& text);
    QString setting(const char* key) const;
    // The batch file the job wrote, "" when none.
    QByteArray batchBytes() const;
    // The fake runner's arguments, one a line.
    QByteArray runnerArgs() const;
    // The fake runner waits until release() once this is called before the compile.
    void holdRunner();
    void release();

    std::unique_ptr<qmxtest::Sandbox> m_sandbox;
    std::unique_ptr<Form1> m_form;
    QString m_mapDir; // host paths
    QString m_sdkDir;
    QString m_gameDir;
    QString m_binDir; // the fake wineconsole
    QByteArray m_oldPath;
};
