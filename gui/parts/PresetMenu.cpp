#include "gui/parts/PresetMenu.h"

#include "gui/parts/OptionPages.h"
#include "gui/toolkit/MessageBox.h"
#include "gui/toolkit/Texts.h"

namespace qmx {

namespace {

QMenu* makeMenu(const char* name, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

// "preset" text, the number with one blank either side, then the closing word.
QString slotMessage(int slot, config::Text closing)
{
    return languageText(config::Text::Preset) + QLatin1Char(' ') + QString::number(slot) + QLatin1Char(' ')
        + languageText(closing);
}

} // namespace

PresetMenu::PresetMenu(OptionPages& pages, QWidget* parent)
    : QMenu(parent)
    , m_pages(pages)
{
    setObjectName(QStringLiteral("presets"));
    menuAction()->setObjectName(QStringLiteral("presets"));
    m_loadMenu = makeMenu("presetload", this);
    m_saveMenu = makeMenu("presetsave", this);
    addMenu(m_loadMenu);
    addMenu(m_saveMenu);
    for (int slot = 1; slot <= config::kPresetCount; ++slot) {
        QAction* load = m_loadMenu->addAction(QString(), this, [this, slot] { this->load(slot); });
        QAction* save = m_saveMenu->addAction(QString(), this, [this, slot] { this->save(slot); });
        load->setObjectName(QStringLiteral("loadpreset%1").arg(slot));
        save->setObjectName(QStringLiteral("savepreset%1").arg(slot));
        load->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + slot)));
        save->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key(Qt::Key_0 + slot)));
        m_load << load;
        m_save << save;
    }
}

void PresetMenu::setCaptions()
{
    setTitle(languageText(config::Text::Presets));
    for (int slot = 1; slot <= config::kPresetCount; ++slot) {
        const QString caption = languageText(config::Text::Preset) + QStringLiteral(" %1").arg(slot);
        m_load[slot - 1]->setText(caption);
        m_save[slot - 1]->setText(caption);
    }
    m_saveMenu->setTitle(languageText(config::Text::Save));
    m_loadMenu->setTitle(languageText(config::Text::Load));
}

void PresetMenu::save(int slot)
{
    storeSetting(config::presetSetting(slot), QString::fromStdString(m_pages.storedOptionString()));
    MsgBox(slotMessage(slot, config::Text::Saved), vbOKOnly);
}

void PresetMenu::load(int slot)
{
    m_pages.restore(config::read(config::presetSetting(slot)));
    MsgBox(slotMessage(slot, config::Text::Loaded), vbOKOnly);
}

} // namespace qmx
