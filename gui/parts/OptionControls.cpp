#include "gui/parts/OptionControls.h"

#include "core/options/OptionString.h"
#include "core/storage/IniFile.h"
#include "gui/toolkit/CheckBox.h"
#include "gui/toolkit/Module1Ini.h"
#include "gui/toolkit/TextBox.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QTabWidget>
#include <QToolTip>

namespace qmx {

namespace {

OptionControls* g_current = nullptr;

// Said at the box, at once: the typed "," or "|" is gone, and why.
void explainRefusal(TextBox* box)
{
    const QString why = Module1::Text(config::Text::ValueCharsRefused);
    box->setToolTip(why);
    QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), why, box);
}

} // namespace

OptionControls::OptionControls() = default;

OptionControls::~OptionControls()
{
    if (g_current == this)
        g_current = nullptr;
}

OptionControls* OptionControls::current()
{
    return g_current;
}

void OptionControls::makeCurrent()
{
    g_current = this;
}

void OptionControls::buildMasters(QWidget* parent, QBoxLayout* row)
{
    for (const PageInfo& page : pageCatalogue()) {
        const QString name = QLatin1String(page.master);
        auto* box = new CheckBox(name, name, parent);
        m_masters[static_cast<int>(page.page)] = box;
        m_checkBoxes.insert(name, box);
        row->addWidget(box);
    }
}

void OptionControls::buildPages(QTabWidget* tabs)
{
    for (const PageInfo& page : pageCatalogue()) {
        auto* pageWidget = new QWidget(tabs);
        pageWidget->setObjectName(QLatin1String(page.master) + QStringLiteral("page"));
        auto* grid = new QGridLayout(pageWidget);
        grid->setHorizontalSpacing(12);
        int row = 0;
        int column = 0;
        for (const OptionEntry* entry : pageOptions(page.page)) {
            if (entry->row != row) {
                row = entry->row;
                column = 0;
            }
            const QString caption = QString::fromLatin1(entry->caption);
            auto* box = new CheckBox(QLatin1String(entry->name), caption, pageWidget);
            m_checkBoxes.insert(box->objectName(), box);
            if (entry->kind == OptionKind::Flag) {
                grid->addWidget(box, row - 1, column++, Qt::AlignLeft);
                continue;
            }
            auto* text = new TextBox(QLatin1String(entry->textBoxName), pageWidget);
            text->setAccessibleName(caption + QStringLiteral(" value"));
            text->setFixedWidth(text->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
            m_textBoxes.insert(text->objectName(), text);
            text->setFits([this, text](const QString& candidate) { return fitsValueBudget(text, candidate); });
            QObject::connect(text, &TextBox::CharactersRefused, text, [text] { explainRefusal(text); });
            auto* cell = new QHBoxLayout;
            cell->setSpacing(4);
            cell->addWidget(box);
            cell->addWidget(text);
            cell->addStretch(1);
            // Two columns, so the short flag captions above keep narrow columns.
            grid->addLayout(cell, row - 1, column, 1, 2);
            column += 2;
        }
        grid->setRowStretch(grid->rowCount(), 1);
        grid->setColumnStretch(grid->columnCount(), 1);
        tabs->addTab(pageWidget, QLatin1String(page.tabPrefix));
    }
}

CheckBox* OptionControls::buildCopyFile(QWidget* parent)
{
    m_copyFile
        = new CheckBox(QStringLiteral("CopyFile"), QStringLiteral("Copy File to this directory after compile"), parent);
    m_checkBoxes.insert(m_copyFile->objectName(), m_copyFile);
    return m_copyFile;
}

CheckBox* OptionControls::checkBox(const QString& name) const
{
    return m_checkBoxes.value(name, nullptr);
}

TextBox* OptionControls::textBox(const QString& name) const
{
    return m_textBoxes.value(name, nullptr);
}

CheckBox* OptionControls::master(Page page) const
{
    return m_masters[static_cast<int>(page)];
}

options::OptionSet OptionControls::state() const
{
    options::OptionSet set;
    for (const PageInfo& page : pageCatalogue()) {
        const CheckBox* box = master(page.page);
        set.setMaster(page.page, box && box->Value() == 1);
    }
    for (const OptionEntry& entry : optionCatalogue()) {
        options::OptionState& state = set[entry];
        const CheckBox* box = checkBox(QLatin1String(entry.name));
        state.ticked = box && box->Value() == 1;
        if (const TextBox* text = entry.textBoxName ? textBox(QLatin1String(entry.textBoxName)) : nullptr)
            state.text = text->text().toStdString();
    }
    set.copyFile = m_copyFile && m_copyFile->Value() == 1;
    return set;
}

void OptionControls::tickPage(const options::OptionSet& set, Page page)
{
    for (const OptionEntry* entry : pageOptions(page)) {
        const options::OptionState& state = set[*entry];
        if (!state.ticked)
            continue;
        if (CheckBox* box = checkBox(QLatin1String(entry->name)))
            box->setValue(1);
        if (TextBox* text = entry->textBoxName ? textBox(QLatin1String(entry->textBoxName)) : nullptr) {
            QString value = QString::fromStdString(state.text);
            while (!fitsValueBudget(text, value)) // a file edited by hand
                value.chop(value.size() > 1 && value.back().isLowSurrogate() ? 2 : 1);
            text->setText(value);
        }
    }
}

bool OptionControls::fitsValueBudget(const TextBox* box, const QString& text) const
{
    // The settings file gives back at most 254 bytes of the option string, in its own encoding; the six
    // value texts share what the longest flags leave, so a stored option set always comes back whole.
    std::string texts = text.toStdString();
    for (const TextBox* other : qAsConst(m_textBoxes)) {
        if (other != box)
            texts += other->text().toStdString();
    }
    return ini::storedValueBytes(Module1::SettingsFile().toStdString(), texts) <= options::valueTextBudget();
}

} // namespace qmx
