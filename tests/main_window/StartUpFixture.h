#pragma once

// A main window started in its own sandbox: a program directory with a known language file, a Wine
// prefix of its own with drives C: and D: (no Z:, so nothing outside the sandbox is browsed), and the
// environment variables of the start-up set per test and put back afterwards. Like the program, a test
// process takes the instance lock once, at its first start-up: ctest runs each test in its own process.

#include "support/Sandbox.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

class Form1;
class Form2;

namespace qmxtest {

// Sets or unsets an environment variable for the life of the object.
class EnvGuard
{
public:
    EnvGuard(const char* name, const std::optional<QByteArray>& value);
    ~EnvGuard();
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    QByteArray m_name;
    std::optional<QByteArray> m_old;
};

class StartUpTest : public testing::Test
{
protected:
    explicit StartUpTest(bool withLanguageFile = true);
    ~StartUpTest() override;

    // The language file every start-up test runs with.
    static QByteArray languageFileText();

    // Host folder of a drive of the fake prefix ('C' or 'D'), and a path on it.
    QString driveRoot(char letter) const;
    QString makeDirOnDrive(char letter, const QString& relative) const;
    void writeFileOnDrive(char letter, const QString& relative, const QByteArray& bytes = "x") const;
    // HKEY_CURRENT_USER as Wine keeps it: body lines after the key line of keyPath.
    void writeUserReg(const QString& keyPath, const QByteArray& valueLines) const;
    void writeSettings(const QByteArray& text) const;
    QByteArray settingsText() const;

    // A new main window, loaded.
    Form1& start();
    void restart();
    Form2* folderWindow() const;

    Sandbox m_sandbox;
    QString m_prefix;
    EnvGuard m_winePrefix;
    EnvGuard m_sourceSdk;
    std::unique_ptr<Form1> m_form;
};

} // namespace qmxtest
