// The switch text of each tool's command line.

#include "options/ToolArguments.h"

#include "core/options/OptionCatalogue.h"
#include "main_window/Form1.h"
#include "toolkit/CheckBox.h"
#include "toolkit/TextBox.h"

namespace {

// The spacing lives in the switch literals alone; values are copied as the box holds them.
QString buildArguments(qmx::Page page)
{
    Form1* form = Module1::MainWindow();
    if (!form)
        return QString();
    const qmx::CheckBox* master = form->checkBox(QLatin1String(qmx::pageInfo(page).master));
    if (!master || master->Value() != 1)
        return QString();
    QString result;
    for (const qmx::OptionEntry* entry : qmx::commandLineOptions(page)) {
        const qmx::CheckBox* box = form->checkBox(QLatin1String(entry->name));
        if (!box || box->Value() != 1)
            continue;
        result += QLatin1String(entry->switchText);
        if (entry->textBoxName) {
            if (const qmx::TextBox* text = form->textBox(QLatin1String(entry->textBoxName)))
                result += text->text();
        }
    }
    return result;
}

} // namespace

namespace Module1 {

QString BuildBspArguments()
{
    return buildArguments(qmx::Page::Bsp);
}

QString BuildVisArguments()
{
    return buildArguments(qmx::Page::Vis);
}

QString BuildRadArguments()
{
    return buildArguments(qmx::Page::Rad);
}

} // namespace Module1
