#pragma once

// The option controls: the three master check boxes, the BSP, VIS and RAD pages laid out from the option
// catalogue, and CopyFile; the rules that keep each page in step with its master and its value options;
// and the option string that records them all.

#include "core/options/OptionSet.h"

#include <QHash>
#include <QObject>

#include <string>

class QGridLayout;
class QTabWidget;
class QWidget;

namespace qmx {

class CheckBox;
class TextBox;

class OptionPages : public QObject
{
    Q_OBJECT
public:
    // Makes the controls as children of parent, every page off; the window lays them out.
    explicit OptionPages(QWidget* parent);

    CheckBox* master(Page page) const { return m_masters[static_cast<int>(page)]; }
    QTabWidget* tabs() const { return m_tabs; }
    CheckBox* copyFile() const { return m_copyFile; }

    // What the controls hold now, and the option string the settings file keeps for it.
    options::OptionSet state() const;
    std::string storedOptionString() const;
    // Switches every page off, then restores what a stored option string records; short or damaged text
    // restores what it can, the rest unticked and empty.
    void restore(const std::string& stored);
    // The tab and CopyFile captions from the language file.
    void setCaptions();

private:
    void buildPage(const PageInfo& page);
    void buildValueBox(const OptionEntry& entry, CheckBox* box, QWidget* page, QGridLayout* grid, int row, int column);
    void setPageEnabled(Page page, bool on);
    void tickPage(const options::OptionSet& set, Page page);
    bool fitsValueBudget(const TextBox* box, const QString& text) const;
    CheckBox* checkBox(const char* name) const { return m_checkBoxes.value(QLatin1String(name)); }
    TextBox* textBox(const char* name) const { return name ? m_textBoxes.value(QLatin1String(name)) : nullptr; }

    QHash<QString, CheckBox*> m_checkBoxes;
    QHash<QString, TextBox*> m_textBoxes;
    CheckBox* m_masters[3] = {};
    QTabWidget* m_tabs = nullptr;
    CheckBox* m_copyFile = nullptr;
};

} // namespace qmx
