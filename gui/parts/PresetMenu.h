#pragma once

// The Preset menu: four slots, each keeping a whole option set in the settings file, loaded with Ctrl+1 to
// Ctrl+4 and saved with Ctrl+Shift+1 to Ctrl+Shift+4.

#include <QList>
#include <QMenu>

namespace qmx {

class OptionPages;

class PresetMenu : public QMenu
{
    Q_OBJECT
public:
    PresetMenu(OptionPages& pages, QWidget* parent);

    // The load and save commands, which a running compile refuses.
    QList<QAction*> commands() const { return m_load + m_save; }
    void setCaptions();

private:
    // Stores the current option set in slot 1 to 4 and says so.
    void save(int slot);
    // Restores the slot's option set over cleared pages (a slot never saved restores as all off) and says so.
    void load(int slot);

    OptionPages& m_pages;
    QMenu* m_loadMenu = nullptr;
    QMenu* m_saveMenu = nullptr;
    QList<QAction*> m_load;
    QList<QAction*> m_save;
};

} // namespace qmx
