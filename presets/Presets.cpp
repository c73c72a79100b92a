// The four preset slots: each keeps a whole option set in the settings file. The commands differ only
// in the slot number, so each pair of handlers calls one routine.

#include "main_window/Form1.h"

#include "core/storage/LanguageKeys.h"
#include "core/storage/SettingsKeys.h"
#include "options/OptionString.h"
#include "options/PageRules.h"
#include "storage/Module1Ini.h"
#include "toolkit/MessageBox.h"

namespace {

QString slotKey(int slot)
{
    return QString::fromLatin1(qmx::settings::presetKey(slot));
}

QString presetsSection()
{
    return QString::fromLatin1(qmx::settings::kPresetsSection);
}

// "preset" text, the number with one blank either side, then the closing word.
QString slotMessage(int slot, const char* closingKey)
{
    return Module1::LanguageText(qmx::language::kPreset) + QLatin1Char(' ') + QString::number(slot) + QLatin1Char(' ')
        + Module1::LanguageText(closingKey);
}

void savePreset(int slot)
{
    Module1::WriteIniValue(Module1::SettingsFile(), presetsSection(), slotKey(slot), Module1::StoredOptionString());
    qmx::MsgBox(slotMessage(slot, qmx::language::kSaved), qmx::vbOKOnly);
}

void loadPreset(int slot)
{
    // Cleared before the read, so whatever the slot holds, nothing of the old options survives.
    Module1::SetBspOptionsEnabled(false);
    Module1::SetRadOptionsEnabled(false);
    Module1::SetVisOptionsEnabled(false);
    const QString stored = Module1::ReadIniValue(Module1::SettingsFile(), presetsSection(), slotKey(slot));
    Module1::RestoreOptionString(stored);
    qmx::MsgBox(slotMessage(slot, qmx::language::kLoaded), qmx::vbOKOnly);
}

} // namespace

void Form1::Form1_savepreset1_Click()
{
    savePreset(1);
}

void Form1::Form1_savepreset2_Click()
{
    savePreset(2);
}

void Form1::Form1_savepreset3_Click()
{
    savePreset(3);
}

void Form1::Form1_savepreset4_Click()
{
    savePreset(4);
}

void Form1::Form1_loadpreset1_Click()
{
    loadPreset(1);
}

void Form1::Form1_loadpreset2_Click()
{
    loadPreset(2);
}

void Form1::Form1_loadpreset3_Click()
{
    loadPreset(3);
}

void Form1::Form1_loadpreset4_Click()
{
    loadPreset(4);
}
