// The option pages and the Preset menu on their own: the page rules, each control's field of the option string,
// the value boxes' share of the settings file, and the four preset slots.

#include "gui/parts/OptionPages.h"
#include "core/options/OptionCatalogue.h"
#include "core/options/OptionString.h"
#include "core/os/Os.h"
#include "core/storage/IniFile.h"
#include "gui/parts/PresetMenu.h"
#include "gui/toolkit/CheckBox.h"
#include "gui/toolkit/TextBox.h"
#include "support/Recorders.h"
#include "support/Sandbox.h"

#include <QAction>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

class OptionPagesTest : public testing::Test
{
protected:
    void SetUp() override { m_host.show(); }
    // A user's click: the control's page is brought to the front first, as a user would have to.
    void click(QWidget* w) const
    {
        QTabWidget* tabs = m_pages.tabs();
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->widget(i)->isAncestorOf(w))
                tabs->setCurrentIndex(i);
        QTest::mouseClick(w, Qt::LeftButton);
    }
    qmx::CheckBox* box(const QString& name) const { return m_host.findChild<qmx::CheckBox*>(name); }
    qmx::TextBox* text(const QString& name) const { return m_host.findChild<qmx::TextBox*>(name); }
    void tick(const QString& name, bool on = true) { box(name)->setValue(on ? 1 : 0); }

    qmxtest::Sandbox m_sandbox;
    QWidget m_host;
    qmx::OptionPages m_pages{&m_host};
};

// Off clears the master's page and only that; on again gives it back empty. A page that is off shows its controls
// disabled, unticked, empty and grey. A click into a value box ticks its option, unticking it empties the box. A
// typed "," or "|" is dropped, and the box says why at once, in the language file's words.
TEST_F(OptionPagesTest, PageRulesFollowTheClicks)
{
    for (const qmx::PageInfo& page : qmx::pageCatalogue()) {
        for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
            tick(qmx::pageInfo(entry.page).master);
            tick(entry.name);
            if (entry.textBoxName)
                text(entry.textBoxName)->setText("5");
        }
        for (int on = 0; on < 2; ++on) {
            SCOPED_TRACE(std::string(page.master) + (on ? " on again" : " off"));
            click(box(page.master));
            for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
                const bool pageOn = entry.page != page.page || on;
                EXPECT_EQ(box(entry.name)->Value(), entry.page != page.page ? 1 : 0) << entry.name;
                EXPECT_EQ(box(entry.name)->isEnabled(), pageOn) << entry.name;
                if (qmx::TextBox* t = entry.textBoxName ? text(entry.textBoxName) : nullptr) {
                    EXPECT_EQ(t->text(), entry.page != page.page ? "5" : "") << entry.name;
                    EXPECT_EQ(t->BackColor(), pageOn ? qmx::kSysColorWindow : qmx::kSysColorScrollBar) << entry.name;
                }
            }
        }
    }
    m_sandbox.writeFile("language.qmxII", "[language]\r\nValueCharsRefused=Nein!\r\n");
    m_pages.restore("1,1,1|0|0|0|0");
    for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
        if (qmx::TextBox* t = entry.textBoxName ? text(entry.textBoxName) : nullptr) {
            SCOPED_TRACE(entry.name);
            QTest::keyClicks(t, "0.5 a;b");
            EXPECT_EQ(t->toolTip(), "");
            QTest::keyClicks(t, "1|2,");
            EXPECT_EQ(t->text(), "0.5 a;b12");
            EXPECT_EQ(t->toolTip() + '|' + QToolTip::text(), "Nein!|Nein!");
            EXPECT_EQ(box(entry.name)->Value(), 0); // typing alone ticks nothing
            click(t);
            EXPECT_EQ(box(entry.name)->Value(), 1);
            click(box(entry.name));
            EXPECT_EQ(t->text(), "");
        }
    }
}

// The six value boxes share the room the settings file gives back, in bytes of its encoding: filled as far as
// they let the user, in the worst combinations, the texts take the budget to its last whole character, and the
// stored string fits and comes back whole.
TEST_F(OptionPagesTest, FullValueBoxesStillFitTheSettingsFileAndRestoreWhole)
{
    const std::string utf8 = "\xEF\xBB\xBF[settings]\r\n";
    const std::tuple<const char*, const char*, const char*, std::string, std::size_t> cases[] = {
        // what, the value option ticked ("": all), the letter typed, the settings file, bytes of the letter
        {"every option ticked", "", "7", "", 1},
        {"two-byte letters in a UTF-8 file", "", u8"\u00e9", utf8, 2},
        {"three-byte letters in a UTF-8 file", "BSPblocks", u8"\u20ac", utf8, 3},
        {"a letter of one ANSI byte", "BSPblocks", u8"\u20ac", "", 1},
    };
    const std::size_t budget = qmx::options::valueTextBudget();
    for (const auto& [name, only, typed, before, charBytes] : cases) {
        SCOPED_TRACE(name);
        m_sandbox.writeFile("settings.qmxII", QByteArray::fromStdString(before));
        m_pages.restore("1,1,1|0|0|0|1");
        for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
            if (*only && QLatin1String(only) != entry.name)
                continue;
            tick(entry.name);
            // As much as each box takes, box after box (a key event with the letter's text: keyClicks is ASCII).
            for (int i = 0; entry.textBoxName && i < 300; ++i)
                QTest::sendKeyEvent(QTest::Click, text(entry.textBoxName), Qt::Key_unknown, typed, Qt::NoModifier);
        }
        std::size_t textBytes = 0;
        for (const qmx::OptionEntry& entry : qmx::optionCatalogue())
            textBytes += entry.textBoxName ? text(entry.textBoxName)->text().size() * charBytes : 0;
        EXPECT_EQ(textBytes, budget - budget % charBytes);
        const std::string stored = m_pages.storedOptionString();
        const std::string file = m_sandbox.settingsFile().toStdString();
        ASSERT_TRUE(qmx::ini::writeValue(file, "settings", "LastUsedSettings", stored));
        m_pages.restore(qmx::ini::readValue(file, "settings", "LastUsedSettings"));
        EXPECT_EQ(m_pages.storedOptionString(), stored);
    }
}

// Each control comes back from a preset (alternate controls ticked, each value box with a text of its own): a
// save writes its slot's line and nothing else, with its message, and a load over the other half gives back
// exactly what was saved. (Each option's place in the string: the option set's test.) A slot never saved or damaged
// restores what it can over cleared pages, writing nothing.
TEST_F(OptionPagesTest, PresetSlotsRoundTripEachControlAndSayWhatTheyDid)
{
    qmx::PresetMenu menu(m_pages, &m_host);
    m_sandbox.writeFile("language.qmxII", "[Language]\r\npreset=Preset\r\nsaved=saved\r\nloaded=ok");
    const auto act = [&](const QString& action, int slot, const char* word) {
        qmxtest::resetRecorders();
        m_host.findChild<QAction*>(action + QString::number(slot))->trigger();
        ASSERT_EQ(qmxtest::messages().size(), 1u);
        const qmxtest::ShownMessage& shown = qmxtest::messages()[0];
        EXPECT_EQ(shown.prompt + '|' + QString::number(shown.style), QString("Preset %1 %2|0").arg(slot).arg(word));
    };
    // Every other control from the first (round 0) or the second (round 1), texts non-ASCII in round 1.
    const auto half = [&](int round) {
        m_pages.restore("1,1,1|0|0|0|" + std::to_string(round));
        int index = 0;
        for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
            if (++index % 2 != round)
                continue;
            tick(entry.name);
            if (entry.textBoxName)
                text(entry.textBoxName)->setText(QString::number(index) + (round ? "\u00e9" : ""));
        }
        return m_pages.storedOptionString();
    };
    QByteArray file = "; kept\r\n[presets]\r\npreset1=1\r\npreset2=2\r\n[other]\r\npreset1=not this one\r\n";
    m_sandbox.writeFile("settings.qmxII", file);
    for (int slot = 1; slot <= 2; ++slot) {
        SCOPED_TRACE(slot);
        const std::string saved = half(slot - 1);
        act("savepreset", slot, "saved");
        file.replace("preset" + QByteArray::number(slot) + "=" + QByteArray::number(slot),
                     "preset" + QByteArray::number(slot) + "=" + QByteArray::fromStdString(qmx::os::toAnsi(saved)));
        EXPECT_EQ(m_sandbox.readFile("settings.qmxII"), file);
        half(2 - slot);
        act("loadpreset", slot, "ok");
        EXPECT_EQ(m_pages.storedOptionString(), saved);
    }
    // What slot 3 holds ("-": no settings file) > what is ticked after the load.
    for (const QByteArray& row :
         QByteArray("->\n1 ,true,2|1|1|1|yes>\n0,0,1|x|x|0,0,0,0,0,0,0,0,0,0,0,1>RAD;RADbounce").split('\n')) {
        SCOPED_TRACE(row.constData());
        const QByteArray stored = row.startsWith('-') ? QByteArray() : "[presets]\r\npreset3=" + row.split('>')[0];
        m_sandbox.writeFile("settings.qmxII", stored);
        m_pages.restore("");
        for (const QByteArray& name : row.split('>')[1].split(';'))
            if (!name.isEmpty())
                tick(QString::fromLatin1(name));
        const std::string expected = m_pages.storedOptionString();
        half(1);
        act("loadpreset", 3, "ok");
        EXPECT_EQ(m_pages.storedOptionString(), expected);
        EXPECT_EQ(m_sandbox.readFile("settings.qmxII"), stored);
    }
}

} // namespace
