#include "StartUpFixture.h"

#include "aux_windows/Form2.h"
#include "main_window/Form1.h"

#include <QApplication>
#include <QDir>
#include <QFile>

namespace qmxtest {

EnvGuard::EnvGuard(const char* name, const std::optional<QByteArray>& value)
    : m_name(name)
{
    if (qEnvironmentVariableIsSet(name))
        m_old = qgetenv(name);
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

EnvGuard::~EnvGuard()
{
    if (m_old)
        qputenv(m_name.constData(), *m_old);
    else
        qunsetenv(m_name.constData());
}

namespace {

QString makePrefix(const Sandbox& sandbox)
{
    const QString prefix = sandbox.makeDir(QStringLiteral("wine prefix"));
    QDir(prefix).mkpath(QStringLiteral("dosdevices"));
    QDir(prefix).mkpath(QStringLiteral("drive_c"));
    // D: has a non-ASCII, blank-holding folder behind it.
    const QString driveD = sandbox.makeDir(QStringLiteral("spiele f\u00fcr d"));
    QFile::link(QStringLiteral("../drive_c"), prefix + QStringLiteral("/dosdevices/c:"));
    QFile::link(driveD, prefix + QStringLiteral("/dosdevices/d:"));
    return prefix;
}

} // namespace

StartUpTest::StartUpTest(bool withLanguageFile)
    : m_sandbox(false)
    , m_prefix(makePrefix(m_sandbox))
    , m_winePrefix("WINEPREFIX", QFile::encodeName(m_prefix))
    , m_sourceSdk("sourcesdk", std::nullopt)
{
    if (withLanguageFile)
        m_sandbox.writeFile(QStringLiteral("language.qmxII"), languageFileText());
}

StartUpTest::~StartUpTest()
{
    m_form.reset();
}

QByteArray StartUpTest::languageFileText()
{
    return "[LANGUAGE]\r\n"
           "ProgramOpen=\" is already running.\"\r\n"
           "Frame2=Maps\r\n"
           "Frame4=Game\r\n"
           "MenuCompile=Build\r\n"
           "Presets=Sets\r\n"
           "preset=Set\r\n"
           "save=Store\r\n"
           "load=Fetch\r\n"
           "CopyFIle=Copy it\r\n"
           "Frame3=Options\r\n";
}

QString StartUpTest::driveRoot(char letter) const
{
    return QFile::symLinkTarget(m_prefix + QStringLiteral("/dosdevices/") + QChar::fromLatin1(letter).toLower()
                                + QLatin1Char(':'));
}

QString StartUpTest::makeDirOnDrive(char letter, const QString& relative) const
{
    const QString path = driveRoot(letter) + QLatin1Char('/') + relative;
    QDir().mkpath(path);
    return path;
}

void StartUpTest::writeFileOnDrive(char letter, const QString& relative, const QByteArray& bytes) const
{
    QFile f(driveRoot(letter) + QLatin1Char('/') + relative);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

void StartUpTest::writeUserReg(const QString& keyPath, const QByteArray& valueLines) const
{
    QByteArray key = keyPath.toLatin1();
    key.replace("\\", "\\\\");
    QFile f(m_prefix + QStringLiteral("/user.reg"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Append));
    if (f.size() == 0)
        f.write("WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21\n\n#arch=win64\n");
    f.write("\n[" + key + "] 1700000000\n#time=1d9a0c0e0c0e0c0\n" + valueLines + "\n");
}

void StartUpTest::writeSettings(const QByteArray& text) const
{
    m_sandbox.writeFile(QStringLiteral("settings.qmxII"), text);
}

QByteArray StartUpTest::settingsText() const
{
    return m_sandbox.readFile(QStringLiteral("settings.qmxII"));
}

Form1& StartUpTest::start()
{
    m_form.reset();
    m_form = std::make_unique<Form1>();
    m_form->Form1_Form_Load();
    return *m_form;
}

void StartUpTest::restart()
{
    start();
}

Form2* StartUpTest::folderWindow() const
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* f = qobject_cast<Form2*>(w))
            return f;
    }
    return nullptr;
}

} // namespace qmxtest
