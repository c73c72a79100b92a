// Start-up and shut-down of the main window.

#include "gui/parts/OptionString.h"
#include "gui/parts/Timer.h"
#include "gui/toolkit/Application.h"
#include "gui/toolkit/CentreWindow.h"
#include "gui/toolkit/CheckBox.h"
#include "gui/toolkit/MessageBox.h"
#include "gui/toolkit/Module1Ini.h"
#include "gui/windows/Browsers.h"
#include "gui/windows/Form1.h"
#include "gui/windows/Registry.h"
#include "gui/windows/SdkDetection.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QTabWidget>

namespace {

QString caption(qmx::config::Text text)
{
    return Module1::Text(text);
}

// Every caption is read anew from the file, in the order the window lists them.
void setCaptions(Form1& form)
{
    form.Frame2->setTitle(caption(qmx::config::Text::Frame2));
    form.Frame4->setTitle(caption(qmx::config::Text::Frame4));
    form.MenuCompile->setText(caption(qmx::config::Text::MenuCompile));
    form.presets->setTitle(caption(qmx::config::Text::Presets));
    for (int slot = 0; slot < 4; ++slot)
        form.loadpreset[slot]->setText(caption(qmx::config::Text::Preset) + QStringLiteral(" %1").arg(slot + 1));
    for (int slot = 0; slot < 4; ++slot)
        form.savepreset[slot]->setText(caption(qmx::config::Text::Preset) + QStringLiteral(" %1").arg(slot + 1));
    form.presetsave->setTitle(caption(qmx::config::Text::Save));
    form.presetload->setTitle(caption(qmx::config::Text::Load));
    form.CopyFile->setText(caption(qmx::config::Text::CopyFile));
    form.SSTab1->setTabText(0, QStringLiteral("BSP-") + caption(qmx::config::Text::Frame3));
    form.SSTab1->setTabText(1, QStringLiteral("VIS-") + caption(qmx::config::Text::Frame3));
    form.SSTab1->setTabText(2, QStringLiteral("RAD-") + caption(qmx::config::Text::Frame3));
    form.SetGameCaptions();
    form.updateAccessKeys();
}

} // namespace

void Form1::Form1_Form_Load()
{
    Module1::InitPerformanceTimer();

    // Without the language file there would be no texts to show: refuse before anything is shown.
    if (qmx::Dir(Module1::LanguageFile()).isEmpty()) {
        qmx::MsgBox(QStringLiteral("Language-File not found.")
                        + QStringLiteral(" Program closed due to missing Language Pack."),
                    qmx::vbCritical, QStringLiteral("QMX GUI II - Critical Error"));
        qmx::EndProgram();
        return;
    }

    qmx::CentreOnScreen(*this);

    if (qmx::AnotherInstanceRunning()) {
        qmx::MsgBox(qmx::ExecutableName() + Module1::Text(qmx::config::Text::ProgramOpen), qmx::vbOKOnly);
        qmx::EndProgram();
        return;
    }

    show();

    LauncherPath = Module1::ReadRegistryString(Module1::HkeyCurrentUser, QStringLiteral("Software\\Valve\\Steam"),
                                               QStringLiteral("SteamExe"));
    Module1::DetectSdkDirectory(*this);
    Module1::RestoreMapDirectory(*this);
    Module1::RestoreGameDirectory(*this);
    setCaptions(*this);
    Module1::RestoreOptionString(Module1::Setting(qmx::config::Setting::LastUsedSettings));
    RestoreRunMap();
}

void Form1::Form1_Form_Unload()
{
    Module1::SetSetting(qmx::config::Setting::LastUsedSettings, Module1::StoredOptionString());
    qmx::EndProgram();
}
