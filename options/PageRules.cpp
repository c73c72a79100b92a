// Keeping each page's option controls consistent with its master and with each other.

#include "options/PageRules.h"

#include "core/options/OptionCatalogue.h"
#include "main_window/Form1.h"
#include "toolkit/CheckBox.h"
#include "toolkit/TextBox.h"

namespace {

void setPageEnabled(qmx::Page page, bool on)
{
    Form1* form = Module1::MainWindow();
    if (!form)
        return;
    for (const qmx::OptionEntry* entry : qmx::pageOptions(page)) {
        qmx::CheckBox* box = form->checkBox(QLatin1String(entry->name));
        qmx::TextBox* text = entry->textBoxName ? form->textBox(QLatin1String(entry->textBoxName)) : nullptr;
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

// A master's page follows its Value.
void masterRule(const char* master, void (*setEnabled)(bool))
{
    Form1* form = Module1::MainWindow();
    if (!form)
        return;
    if (qmx::CheckBox* box = form->checkBox(QLatin1String(master)))
        setEnabled(box->Value() == 1);
}

// Unticking a value option forgets its text; ticking it changes nothing else.
void valueBoxRule(const char* name)
{
    Form1* form = Module1::MainWindow();
    const qmx::OptionEntry* entry = qmx::findOption(name);
    if (!form || !entry || !entry->textBoxName)
        return;
    qmx::CheckBox* box = form->checkBox(QLatin1String(entry->name));
    qmx::TextBox* text = form->textBox(QLatin1String(entry->textBoxName));
    if (box && text && box->Value() == 0)
        text->setText(QString());
}

// Clicking into a value text box ticks its option.
void textBoxRule(const char* name)
{
    Form1* form = Module1::MainWindow();
    const qmx::OptionEntry* entry = qmx::findOption(name);
    if (!form || !entry)
        return;
    if (qmx::CheckBox* box = form->checkBox(QLatin1String(entry->name)))
        box->setValue(1);
}

} // namespace

namespace Module1 {

void SetBspOptionsEnabled(bool on)
{
    setPageEnabled(qmx::Page::Bsp, on);
}

void SetVisOptionsEnabled(bool on)
{
    setPageEnabled(qmx::Page::Vis, on);
}

void SetRadOptionsEnabled(bool on)
{
    setPageEnabled(qmx::Page::Rad, on);
}

} // namespace Module1

void Form1::Form1_BSP_Click()
{
    masterRule("BSP", &Module1::SetBspOptionsEnabled);
}

void Form1::Form1_VIS_Click()
{
    masterRule("VIS", &Module1::SetVisOptionsEnabled);
}

void Form1::Form1_RAD_Click()
{
    masterRule("RAD", &Module1::SetRadOptionsEnabled);
}

void Form1::Form1_BSPblocks_Click()
{
    valueBoxRule("BSPblocks");
}

void Form1::Form1_BSPluxelscale_Click()
{
    valueBoxRule("BSPluxelscale");
}

void Form1::Form1_RADlights_Click()
{
    valueBoxRule("RADlights");
}

void Form1::Form1_RADbounce_Click()
{
    valueBoxRule("RADbounce");
}

void Form1::Form1_RADluxdensity_Click()
{
    valueBoxRule("RADluxdensity");
}

void Form1::Form1_RADmaxdispsamplesize_Click()
{
    valueBoxRule("RADmaxdispsamplesize");
}

void Form1::Form1_BSPblocks_text_Click()
{
    textBoxRule("BSPblocks_text");
}

void Form1::Form1_BSPluxelscale_text_Click()
{
    textBoxRule("BSPluxelscale_text");
}

// Same rule as the other five: a click into the box means the user wants the option.
void Form1::Form1_RADlights_text_Click()
{
    textBoxRule("RADlights_text");
}

void Form1::Form1_RADbounce_text_Click()
{
    textBoxRule("RADbounce_text");
}

void Form1::Form1_RADluxdensity_text_Click()
{
    textBoxRule("RADluxdensity_text");
}

void Form1::Form1_RADmaxdispsamplesize_text_Click()
{
    textBoxRule("RADmaxdispsamplesize_text");
}
