// The option string routines on the main window's option controls.

#include "gui/parts/OptionString.h"

#include "core/options/OptionString.h"
#include "gui/parts/OptionControls.h"
#include "gui/parts/PageRules.h"
#include "gui/toolkit/CheckBox.h"

namespace {

qmx::options::OptionSet currentState()
{
    const qmx::OptionControls* controls = qmx::OptionControls::current();
    return controls ? controls->state() : qmx::options::OptionSet();
}

QString page(qmx::Page page)
{
    return QString::fromStdString(qmx::options::serializePage(currentState(), page));
}

} // namespace

namespace Module1 {

QString SerializeBspOptions()
{
    return page(qmx::Page::Bsp);
}

QString SerializeVisOptions()
{
    return page(qmx::Page::Vis);
}

QString SerializeRadOptions()
{
    return page(qmx::Page::Rad);
}

QString SerializeAllOptions()
{
    return QString::fromStdString(qmx::options::serializeAll(currentState()));
}

QString StoredOptionString()
{
    return QString::fromStdString(qmx::options::storedOptionString(currentState()));
}

void ApplyOptionString(const QString& section, const QString& part)
{
    qmx::OptionControls* controls = qmx::OptionControls::current();
    if (!controls)
        return;
    for (const qmx::PageInfo& info : qmx::pageCatalogue()) {
        if (section != QLatin1String(info.master))
            continue;
        SetOptionsEnabled(info.page, true);
        qmx::options::OptionSet read;
        qmx::options::applyPagePart(read, info.page, part.toStdString());
        controls->tickPage(read, info.page);
        return;
    }
}

void RestoreOptionString(const QString& stored)
{
    qmx::OptionControls* controls = qmx::OptionControls::current();
    if (!controls)
        return;
    SetBspOptionsEnabled(false);
    SetRadOptionsEnabled(false);
    SetVisOptionsEnabled(false);

    const qmx::options::StoredParts parts = qmx::options::splitStored(stored.toStdString());
    if (qmx::CheckBox* copy = controls->copyFile())
        copy->setValue(parts.copyFile ? 1 : 0);
    // Each page is filled before its master is ticked; ticking it then only confirms the page.
    for (const qmx::PageInfo& info : qmx::pageCatalogue()) {
        const std::size_t index = static_cast<std::size_t>(info.page);
        qmx::CheckBox* master = controls->master(info.page);
        if (parts.masters[index]) {
            ApplyOptionString(QLatin1String(info.master), QString::fromStdString(parts.pages[index]));
            if (master)
                master->setValue(1);
        } else if (master) {
            master->setValue(0);
        }
    }
}

} // namespace Module1
