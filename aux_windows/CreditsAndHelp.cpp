// The credits window's menu and the help command of the main window.

#include "main_window/Form1.h"

#include "aux_windows/Form3.h"
#include "aux_windows/Help.h"
#include "core/os/Os.h"
#include "toolkit/Application.h"

#include <QCoreApplication>
#include <QStandardPaths>

void Form1::Form1_MenuCredits_Click()
{
    hide();
    Form3* credits = Form3::Instance();
    credits->show();
    credits->raise();
    credits->activateWindow();
}

void Form1::Form1_MenuHelp_Click()
{
    const QString windowsDir = qmx::ProgramDirectory();
    QString hostDir = QString::fromStdString(qmx::os::toHostPath(windowsDir.toStdString()));
    if (hostDir.isEmpty())
        hostDir = QCoreApplication::applicationDirPath();
    const auto attempts
        = qmx::BuildHelpAttempts(qmx::CurrentHelpPlatform(), windowsDir, hostDir,
                                 [](const QString& name) { return QStandardPaths::findExecutable(name); });
    // Nothing to report when no viewer starts: the help is a convenience, never a reason to stop.
    qmx::OpenHelp(attempts);
}
