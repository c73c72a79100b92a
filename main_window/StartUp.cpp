// Start-up and shut-down of the main window.

#include "compile/Timer.h"
#include "core/storage/LanguageKeys.h"
#include "core/storage/SettingsKeys.h"
#include "main_window/Browsers.h"
#include "main_window/Form1.h"
#include "main_window/Registry.h"
#include "main_window/SdkDetection.h"
#include "options/OptionString.h"
#include "storage/Module1Ini.h"
#include "toolkit/Application.h"
#include "toolkit/CentreWindow.h"
#include "toolkit/CheckBox.h"
#include "toolkit/MessageBox.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QTabWidget>

namespace {

QString languageSection()
{
    return QString::fromLatin1(qmx::language::kSectionCapital);
}

QString caption(const char* key)
{
    return Module1::ReadIniValue(Module1::LanguageFile(), languageSection(), QString::fromLatin1(key));
}

// Every caption is read anew from the file, in the order the window lists them.
void setCaptions(Form1& form)
{
    form.Frame2->setTitle(caption(qmx::language::kFrame2));
    form.Frame4->setTitle(caption(qmx::language::kFrame4));
    form.MenuCompile->setText(caption(qmx::language::kMenuCompile));
    form.presets->setTitle(caption(qmx::language::kPresets));
    for (int slot = 0; slot < 4; ++slot)
        form.loadpreset[slot]->setText(caption(qmx::language::kPreset) + QStringLiteral(" %1").arg(slot + 1));
    for (int slot = 0; slot < 4; ++slot)
        form.savepreset[slot]->setText(caption(qmx::language::kPreset) + QStringLiteral(" %1").arg(slot + 1));
    form.presetsave->setTitle(caption(qmx::language::kSave));
    form.presetload->setTitle(caption(qmx::language::kLoad));
    form.CopyFile->setText(caption(qmx::language::kCopyFile));
    form.SSTab1->setTabText(0, QStringLiteral("BSP-") + caption(qmx::language::kFrame3));
    form.SSTab1->setTabText(1, QStringLiteral("VIS-") + caption(qmx::language::kFrame3));
    form.SSTab1->setTabText(2, QStringLiteral("RAD-") + caption(qmx::language::kFrame3));
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
        qmx::MsgBox(qmx::ExecutableName() + Module1::LanguageText(qmx::language::kProgramOpen), qmx::vbOKOnly);
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
    Module1::RestoreOptionString(Module1::ReadIniValue(Module1::SettingsFile(),
                                                       QString::fromLatin1(qmx::settings::kSection),
                                                       QString::fromLatin1(qmx::settings::kLastUsedSettings)));
}

void Form1::Form1_Form_Unload()
{
    Module1::WriteIniValue(Module1::SettingsFile(), QString::fromLatin1(qmx::settings::kSection),
                           QString::fromLatin1(qmx::settings::kLastUsedSettings), Module1::StoredOptionString());
    qmx::EndProgram();
}
