// Keeping each page's option controls consistent with its master and with each other.

#include "gui/parts/PageRules.h"

#include "gui/parts/OptionControls.h"
#include "gui/toolkit/CheckBox.h"
#include "gui/toolkit/TextBox.h"

namespace Module1 {

void SetOptionsEnabled(qmx::Page page, bool on)
{
    qmx::OptionControls* controls = qmx::OptionControls::current();
    if (!controls)
        return;
    for (const qmx::OptionEntry* entry : qmx::pageOptions(page)) {
        qmx::CheckBox* box = controls->checkBox(QLatin1String(entry->name));
        qmx::TextBox* text = entry->textBoxName ? controls->textBox(QLatin1String(entry->textBoxName)) : nullptr;
        if (box)
            box->setEnabled(on);
        if (text)
            text->setEnabled(on);
        if (!on) {
            // Unticking raises the box's click at once; a value box's rule then empties its text too.
            if (box)
                box->setValue(0);
            if (text) {
                text->setText(QString());
                text->setBackColor(qmx::kSysColorScrollBar);
            }
        } else if (text) {
            text->setBackColor(qmx::kSysColorWindow);
        }
    }
}

void SetBspOptionsEnabled(bool on)
{
    SetOptionsEnabled(qmx::Page::Bsp, on);
}

void SetVisOptionsEnabled(bool on)
{
    SetOptionsEnabled(qmx::Page::Vis, on);
}

void SetRadOptionsEnabled(bool on)
{
    SetOptionsEnabled(qmx::Page::Rad, on);
}

void MasterRule(qmx::Page page)
{
    qmx::OptionControls* controls = qmx::OptionControls::current();
    if (const qmx::CheckBox* box = controls ? controls->master(page) : nullptr)
        SetOptionsEnabled(page, box->Value() == 1);
}

void ValueOptionRule(const char* checkBoxName)
{
    qmx::OptionControls* controls = qmx::OptionControls::current();
    const qmx::OptionEntry* entry = qmx::findOption(checkBoxName);
    if (!controls || !entry || !entry->textBoxName)
        return;
    const qmx::CheckBox* box = controls->checkBox(QLatin1String(entry->name));
    qmx::TextBox* text = controls->textBox(QLatin1String(entry->textBoxName));
    if (box && text && box->Value() == 0)
        text->setText(QString());
}

void ValueTextRule(const char* textBoxName)
{
    qmx::OptionControls* controls = qmx::OptionControls::current();
    const qmx::OptionEntry* entry = qmx::findOption(textBoxName);
    if (!controls || !entry)
        return;
    if (qmx::CheckBox* box = controls->checkBox(QLatin1String(entry->name)))
        box->setValue(1);
}

} // namespace Module1
