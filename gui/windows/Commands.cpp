// The main window's commands: compile, the preset slots, the credits window and help.

#include "gui/windows/Form1.h"

#include "core/os/Os.h"
#include "core/storage/ProgramFiles.h"
#include "gui/parts/CompileController.h"
#include "gui/parts/Help.h"
#include "gui/parts/OptionControls.h"
#include "gui/parts/Presets.h"
#include "gui/toolkit/Application.h"
#include "gui/toolkit/CheckBox.h"
#include "gui/toolkit/DirList.h"
#include "gui/toolkit/FileList.h"
#include "gui/toolkit/Module1Ini.h"
#include "gui/windows/Form3.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QStandardPaths>

void Form1::Form1_MenuCompile_Click()
{
    if (compiling() || !qmx::OptionControls::current())
        return;

    // Every input is taken now; the controls stay locked until the run has ended.
    qmx::compile::CompileRequest request;
    request.mapFile = File1->FileName().toStdString();
    request.mapDir = Dir1->Path().toStdString();
    request.gameDir = Dir2->Path().toStdString();
    request.sdkDir = SDKDir.toStdString();
    request.options = qmx::OptionControls::current()->state();

    if (!m_compile) {
        qmx::compile::JobWindow window;
        window.window = this;
        window.commands = {MenuCompile, presets->menuAction(), MenuCredits, MenuHelp, RunGame};
        window.controls = centralWidget();
        window.stop = MenuStop;
        MenuStop->setText(Module1::Text(qmx::config::Text::CompileStop));
        m_compile = new qmx::compile::CompileController(window, this);
    }
    m_compile->compile(request, RunMap->Value() == 1);
}

void Form1::Form1_savepreset1_Click()
{
    qmx::SavePreset(1);
}

void Form1::Form1_savepreset2_Click()
{
    qmx::SavePreset(2);
}

void Form1::Form1_savepreset3_Click()
{
    qmx::SavePreset(3);
}

void Form1::Form1_savepreset4_Click()
{
    qmx::SavePreset(4);
}

void Form1::Form1_loadpreset1_Click()
{
    qmx::LoadPreset(1);
}

void Form1::Form1_loadpreset2_Click()
{
    qmx::LoadPreset(2);
}

void Form1::Form1_loadpreset3_Click()
{
    qmx::LoadPreset(3);
}

void Form1::Form1_loadpreset4_Click()
{
    qmx::LoadPreset(4);
}

void Form1::Form1_MenuCredits_Click()
{
    hide();
    if (!m_credits)
        m_credits = new Form3(this);
    m_credits->show();
    m_credits->raise();
    m_credits->activateWindow();
}

void Form1::Form1_MenuHelp_Click()
{
    const QString windowsDir = qmx::ProgramDirectory();
    QString hostDir = QString::fromStdString(qmx::os::toHostPath(windowsDir.toStdString()));
    if (hostDir.isEmpty())
        hostDir = QCoreApplication::applicationDirPath();
    QString hostHelp = QString::fromStdString(qmx::os::toHostPath(qmx::helpFilePath()));
    if (hostHelp.isEmpty())
        hostHelp = hostDir + QStringLiteral("/help.chm");
    const auto attempts
        = qmx::BuildHelpAttempts(qmx::CurrentHelpPlatform(), windowsDir, hostDir, hostHelp,
                                 [](const QString& name) { return QStandardPaths::findExecutable(name); });
    // Nothing to report when no viewer starts: the help is a convenience, never a reason to stop.
    qmx::OpenHelp(attempts);
}
