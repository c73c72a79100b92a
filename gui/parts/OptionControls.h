#pragma once

// The option controls of the main window: the three master check boxes, the three tool pages laid out
// from the option catalogue, and CopyFile. The window owns one; Module1's option routines work on the
// current one and move state between its controls and an option set.

#include "core/options/OptionSet.h"

#include <QHash>
#include <QList>
#include <QString>

class QBoxLayout;
class QTabWidget;
class QWidget;

namespace qmx {

class CheckBox;
class TextBox;

class OptionControls
{
public:
    OptionControls();
    ~OptionControls();
    OptionControls(const OptionControls&) = delete;
    OptionControls& operator=(const OptionControls&) = delete;

    // The controls Module1's option routines work on; nullptr while there are none.
    static OptionControls* current();
    void makeCurrent();

    // The master check boxes into a row, one page per tool into the tab control, CopyFile into parent.
    void buildMasters(QWidget* parent, QBoxLayout* row);
    void buildPages(QTabWidget* tabs);
    CheckBox* buildCopyFile(QWidget* parent);

    // Controls by name ("BSP", "BSPnowater", "RADbounce_text", "CopyFile"); nullptr for an unknown name.
    CheckBox* checkBox(const QString& name) const;
    TextBox* textBox(const QString& name) const;
    CheckBox* master(Page page) const;
    CheckBox* copyFile() const { return m_copyFile; }

    // What the controls hold now, value texts as the option string can store them.
    options::OptionSet state() const;
    // The page reader on the controls: ticks every option the set ticks on this page (each tick raises
    // its click at once) and fills its value text. Nothing is unticked or emptied.
    void tickPage(const options::OptionSet& set, Page page);

private:
    // Whether the value texts, box's as text, fit the settings file's room for them.
    bool fitsValueBudget(const TextBox* box, const QString& text) const;

    QHash<QString, CheckBox*> m_checkBoxes;
    QHash<QString, TextBox*> m_textBoxes;
    CheckBox* m_masters[3] = {};
    CheckBox* m_copyFile = nullptr;
};

} // namespace qmx
