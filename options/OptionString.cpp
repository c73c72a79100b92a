// Writing the option state as one line and restoring it.

#include "options/OptionString.h"

#include "core/options/OptionCatalogue.h"
#include "main_window/Form1.h"
#include "options/PageRules.h"
#include "toolkit/CheckBox.h"
#include "toolkit/TextBox.h"

#include <QStringList>

namespace {

const QString kOne = QStringLiteral("1");

QString flag(const qmx::CheckBox* box)
{
    return box && box->Value() == 1 ? QStringLiteral("1") : QStringLiteral("0");
}

// The format has no escaping: separators (and line breaks, which the INI file cannot hold) are
// dropped, so what is written always reads back to the same state.
QString cleanValue(QString text)
{
    text.remove(QLatin1Char(','));
    text.remove(QLatin1Char('|'));
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text;
}

// A missing field reads as empty, so short or damaged text restores as unticked and empty.
QString fieldAt(const QStringList& fields, int index)
{
    return index < fields.size() ? fields.at(index) : QString();
}

QString serializePage(qmx::Page page)
{
    const qmx::PageInfo& info = qmx::pageInfo(page);
    Form1* form = Module1::MainWindow();
    const qmx::CheckBox* master = form ? form->checkBox(QLatin1String(info.master)) : nullptr;
    QStringList fields;
    if (!master || master->Value() != 1) {
        for (int i = 0; i < info.uncheckedZeroCount; ++i)
            fields << QStringLiteral("0");
        return fields.join(QLatin1Char(','));
    }
    for (const qmx::OptionEntry* entry : qmx::pageOptions(page)) {
        const qmx::CheckBox* box = form->checkBox(QLatin1String(entry->name));
        const QString ticked = flag(box);
        fields << ticked;
        if (entry->kind != qmx::OptionKind::Value)
            continue;
        const qmx::TextBox* text = form->textBox(QLatin1String(entry->textBoxName));
        fields << (ticked == kOne ? cleanValue(text ? text->text() : QString()) : QStringLiteral("0"));
    }
    return fields.join(QLatin1Char(','));
}

void setPageEnabled(qmx::Page page, bool on)
{
    switch (page) {
    case qmx::Page::Bsp:
        Module1::SetBspOptionsEnabled(on);
        break;
    case qmx::Page::Vis:
        Module1::SetVisOptionsEnabled(on);
        break;
    case qmx::Page::Rad:
        Module1::SetRadOptionsEnabled(on);
        break;
    }
}

} // namespace

namespace Module1 {

QString SerializeBspOptions()
{
    return serializePage(qmx::Page::Bsp);
}

QString SerializeVisOptions()
{
    return serializePage(qmx::Page::Vis);
}

QString SerializeRadOptions()
{
    return serializePage(qmx::Page::Rad);
}

QString SerializeAllOptions()
{
    Form1* form = Module1::MainWindow();
    QStringList masters;
    for (const qmx::PageInfo& info : qmx::pageCatalogue())
        masters << flag(form ? form->checkBox(QLatin1String(info.master)) : nullptr);
    return masters.join(QLatin1Char(',')) + QLatin1Char('|') + SerializeBspOptions() + QLatin1Char('|')
        + SerializeVisOptions() + QLatin1Char('|') + SerializeRadOptions();
}

QString StoredOptionString()
{
    Form1* form = Module1::MainWindow();
    return SerializeAllOptions() + QLatin1Char('|') + flag(form ? form->CopyFile : nullptr);
}

void ApplyOptionString(const QString& section, const QString& part)
{
    Form1* form = Module1::MainWindow();
    if (!form)
        return;
    for (const qmx::PageInfo& info : qmx::pageCatalogue()) {
        if (section != QLatin1String(info.master))
            continue;
        setPageEnabled(info.page, true);
        const QStringList fields = part.split(QLatin1Char(','));
        int index = 0;
        for (const qmx::OptionEntry* entry : qmx::pageOptions(info.page)) {
            const bool ticked = fieldAt(fields, index++) == kOne;
            qmx::CheckBox* box = form->checkBox(QLatin1String(entry->name));
            // Only ticks: the page was switched off (unticked, emptied) before.
            if (ticked && box)
                box->setValue(1);
            if (entry->kind != qmx::OptionKind::Value)
                continue;
            const QString value = fieldAt(fields, index++);
            qmx::TextBox* text = form->textBox(QLatin1String(entry->textBoxName));
            if (ticked && text)
                text->setText(value);
        }
        return;
    }
}

void RestoreOptionString(const QString& stored)
{
    Form1* form = Module1::MainWindow();
    if (!form)
        return;
    SetBspOptionsEnabled(false);
    SetRadOptionsEnabled(false);
    SetVisOptionsEnabled(false);

    const QStringList parts = stored.split(QLatin1Char('|'));
    const QStringList masterFlags = fieldAt(parts, 0).split(QLatin1Char(','));
    if (form->CopyFile)
        form->CopyFile->setValue(fieldAt(parts, 4) == kOne ? 1 : 0);

    // Each page is filled before its master is ticked; ticking it then only confirms the page.
    for (const qmx::PageInfo& info : qmx::pageCatalogue()) {
        const int index = static_cast<int>(info.page);
        qmx::CheckBox* master = form->checkBox(QLatin1String(info.master));
        if (fieldAt(masterFlags, index) == kOne) {
            ApplyOptionString(QLatin1String(info.master), fieldAt(parts, index + 1));
            if (master)
                master->setValue(1);
        } else if (master) {
            master->setValue(0);
        }
    }
}

} // namespace Module1
