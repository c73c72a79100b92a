#include "gui/parts/Presets.h"

#include "gui/parts/OptionString.h"
#include "gui/parts/PageRules.h"
#include "gui/toolkit/MessageBox.h"
#include "gui/toolkit/Module1Ini.h"

namespace qmx {

namespace {

// "preset" text, the number with one blank either side, then the closing word.
QString slotMessage(int slot, config::Text closing)
{
    return Module1::Text(config::Text::Preset) + QLatin1Char(' ') + QString::number(slot) + QLatin1Char(' ')
        + Module1::Text(closing);
}

} // namespace

void SavePreset(int slot)
{
    Module1::SetSetting(config::presetSetting(slot), Module1::StoredOptionString());
    MsgBox(slotMessage(slot, config::Text::Saved), vbOKOnly);
}

void LoadPreset(int slot)
{
    // Cleared before the read, so whatever the slot holds, nothing of the old options survives.
    Module1::SetBspOptionsEnabled(false);
    Module1::SetRadOptionsEnabled(false);
    Module1::SetVisOptionsEnabled(false);
    Module1::RestoreOptionString(Module1::Setting(config::presetSetting(slot)));
    MsgBox(slotMessage(slot, config::Text::Loaded), vbOKOnly);
}

} // namespace qmx
