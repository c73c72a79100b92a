#include "gui/parts/OptionPages.h"

#include "core/options/OptionString.h"
#include "core/storage/IniFile.h"
#include "core/storage/ProgramFiles.h"
#include "gui/toolkit/CheckBox.h"
#include "gui/toolkit/TextBox.h"
#include "gui/toolkit/Texts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QToolTip>

namespace qmx {

namespace {

// Said at the box, at once: the typed "," or "|" is gone, and why.
void explainRefusal(TextBox* box)
{
    const QString why = languageText(config::Text::ValueCharsRefused);
    box->setToolTip(why);
    QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), why, box);
}

} // namespace

OptionPages::OptionPages(QWidget* parent)
    : QObject(parent)
{
    for (const PageInfo& page : pageCatalogue()) {
        const QString name = QLatin1String(page.master);
        auto* box = new CheckBox(name, name, parent);
        m_masters[static_cast<int>(page.page)] = box;
        connect(box, &CheckBox::Click, this,
                [this, box, page = page.page] { setPageEnabled(page, box->Value() == 1); });
    }
    m_tabs = new QTabWidget(parent);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_tabs->setAccessibleName(tr("Tool options"));
    for (const PageInfo& page : pageCatalogue())
        buildPage(page);
    m_tabs->setCurrentIndex(0);
    m_copyFile
        = new CheckBox(QStringLiteral("CopyFile"), QStringLiteral("Copy File to this directory after compile"), parent);
    // The masters start unticked, so their pages start off.
    for (const Page page : {Page::Bsp, Page::Rad, Page::Vis})
        setPageEnabled(page, false);
}

void OptionPages::buildPage(const PageInfo& page)
{
    auto* pageWidget = new QWidget(m_tabs);
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
        auto* box = new CheckBox(QLatin1String(entry->name), QString::fromLatin1(entry->caption), pageWidget);
        m_checkBoxes.insert(box->objectName(), box);
        if (entry->kind == OptionKind::Flag) {
            grid->addWidget(box, row - 1, column++, Qt::AlignLeft);
            continue;
        }
        buildValueBox(*entry, box, pageWidget, grid, row - 1, column);
        column += 2; // two columns, so the short flag captions above keep narrow columns
    }
    grid->setRowStretch(grid->rowCount(), 1);
    grid->setColumnStretch(grid->columnCount(), 1);
    m_tabs->addTab(pageWidget, QLatin1String(page.tabPrefix));
}

void OptionPages::buildValueBox(const OptionEntry& entry, CheckBox* box, QWidget* page, QGridLayout* grid, int row,
                                int column)
{
    auto* value = new TextBox(QLatin1String(entry.textBoxName), page);
    value->setAccessibleName(box->text() + QStringLiteral(" value"));
    value->setFixedWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    m_textBoxes.insert(value->objectName(), value);
    value->setFits([this, value](const QString& candidate) { return fitsValueBudget(value, candidate); });
    connect(value, &TextBox::CharactersRefused, value, [value] { explainRefusal(value); });
    // Unticking the option empties its text; a click into the text ticks the option.
    connect(box, &CheckBox::Click, value, [box, value] {
        if (box->Value() == 0)
            value->setText(QString());
    });
    connect(value, &TextBox::Click, box, [box] { box->setValue(1); });
    auto* cell = new QHBoxLayout;
    cell->setSpacing(4);
    cell->addWidget(box);
    cell->addWidget(value);
    cell->addStretch(1);
    grid->addLayout(cell, row, column, 1, 2);
}

void OptionPages::setPageEnabled(Page page, bool on)
{
    for (const OptionEntry* entry : pageOptions(page)) {
        CheckBox* box = checkBox(entry->name);
        TextBox* value = textBox(entry->textBoxName);
        box->setEnabled(on);
        if (!on)
            box->setValue(0); // raises the box's click at once: a value option's rule empties its text too
        if (value) {
            value->setEnabled(on);
            if (!on)
                value->setText(QString());
            value->setBackColor(on ? kSysColorWindow : kSysColorScrollBar);
        }
    }
}

options::OptionSet OptionPages::state() const
{
    options::OptionSet set;
    for (const PageInfo& page : pageCatalogue())
        set.setMaster(page.page, master(page.page)->Value() == 1);
    for (const OptionEntry& entry : optionCatalogue()) {
        options::OptionState& option = set[entry];
        option.ticked = checkBox(entry.name)->Value() == 1;
        if (const TextBox* value = textBox(entry.textBoxName))
            option.text = value->text().toStdString();
    }
    set.copyFile = m_copyFile->Value() == 1;
    return set;
}

std::string OptionPages::storedOptionString() const
{
    return options::storedOptionString(state());
}

void OptionPages::restore(const std::string& stored)
{
    for (const Page page : {Page::Bsp, Page::Rad, Page::Vis})
        setPageEnabled(page, false);
    const options::StoredSegments segments = options::splitStored(stored);
    m_copyFile->setValue(segments.copyFile ? 1 : 0);
    // Each page is filled before its master is ticked; ticking it then only confirms the page.
    for (const PageInfo& info : pageCatalogue()) {
        const std::size_t index = static_cast<std::size_t>(info.page);
        if (segments.masters[index]) {
            setPageEnabled(info.page, true);
            options::OptionSet read;
            options::applyPageSegment(read, info.page, segments.pages[index]);
            tickPage(read, info.page);
        }
        master(info.page)->setValue(segments.masters[index] ? 1 : 0);
    }
}

void OptionPages::tickPage(const options::OptionSet& set, Page page)
{
    for (const OptionEntry* entry : pageOptions(page)) {
        const options::OptionState& option = set[*entry];
        if (!option.ticked)
            continue;
        checkBox(entry->name)->setValue(1);
        if (TextBox* value = textBox(entry->textBoxName)) {
            QString typed = QString::fromStdString(option.text);
            while (!fitsValueBudget(value, typed)) // a file edited by hand
                typed.chop(typed.size() > 1 && typed.back().isLowSurrogate() ? 2 : 1);
            value->setText(typed);
        }
    }
}

bool OptionPages::fitsValueBudget(const TextBox* box, const QString& text) const
{
    // The settings file gives back at most 254 bytes of the option string, in its own encoding; the six
    // value texts share what the longest flags leave, so a stored option set always comes back whole.
    std::string texts = text.toStdString();
    for (const TextBox* other : qAsConst(m_textBoxes)) {
        if (other != box)
            texts += other->text().toStdString();
    }
    return ini::storedValueBytes(settingsFilePath(), texts) <= options::valueTextBudget();
}

void OptionPages::setCaptions()
{
    const QString options = languageText(config::Text::Frame3);
    for (const PageInfo& page : pageCatalogue())
        m_tabs->setTabText(static_cast<int>(page.page), QLatin1String(page.tabPrefix) + options);
    m_copyFile->setText(languageText(config::Text::CopyFile));
}

} // namespace qmx
