#include "core/options/OptionCatalogue.h"
#include "core/options/OptionString.h"
#include "core/storage/IniFile.h"
#include "main_window/Form1.h"
#include "options/OptionString.h"
#include "support/Recorders.h"
#include "support/Sandbox.h"
#include "toolkit/CheckBox.h"
#include "toolkit/TextBox.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <map>

namespace {

// A fresh sandbox and a shown main window per test, with helpers that read and set option controls by name.
class FormFixture : public testing::Test
{
protected:
    void SetUp() override { m_form->show(); }

    qmx::CheckBox* box(const QString& name) const { return m_form->checkBox(name); }
    qmx::TextBox* text(const QString& name) const { return m_form->textBox(name); }
    void tick(const QString& name, bool on = true) { box(name)->setValue(on ? 1 : 0); }

    // A user click: the control's page is brought to the front first, as a user would have to.
    void click(QWidget* w) const
    {
        for (int i = 0; i < m_form->SSTab1->count(); ++i)
            if (m_form->SSTab1->widget(i)->isAncestorOf(w))
                m_form->SSTab1->setCurrentIndex(i);
        QTest::mouseClick(w, Qt::LeftButton);
    }

    // A page that is off shows its controls disabled, unticked, empty and grey; one that is on, enabled and white.
    void expectAllPagesConsistent() const
    {
        for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
            const bool on = box(qmx::pageInfo(entry.page).master)->Value() == 1;
            EXPECT_EQ(box(entry.name)->isEnabled(), on) << entry.name;
            EXPECT_TRUE(on || box(entry.name)->Value() == 0) << entry.name;
            if (!entry.textBoxName)
                continue;
            qmx::TextBox* t = text(entry.textBoxName);
            EXPECT_EQ(t->isEnabled(), on) << entry.textBoxName;
            EXPECT_EQ(t->BackColor(), on ? qmx::kSysColorWindow : qmx::kSysColorScrollBar) << entry.textBoxName;
            EXPECT_TRUE(on || t->text().isEmpty()) << entry.textBoxName;
        }
    }

    qmxtest::Sandbox m_sandbox;
    std::unique_ptr<Form1> m_form = std::make_unique<Form1>();
};

using MainWindowTest = FormFixture;

// The menus and their items by name, in order. (The controls by name and in order: the tab order test.)
TEST_F(MainWindowTest, MenusInOrder)
{
    QStringList seen;
    for (QAction* a : m_form->menuBar()->actions() + m_form->presets->actions() + m_form->presetload->actions()
             + m_form->presetsave->actions())
        seen << a->objectName();
    EXPECT_EQ(seen.join(';'),
              "MenuCompile;presets;MenuCredits;MenuHelp;presetload;presetsave;loadpreset1;loadpreset2;"
              "loadpreset3;loadpreset4;savepreset1;savepreset2;savepreset3;savepreset4");
}

using PageRulesTest = FormFixture;

TEST_F(PageRulesTest, ClickingAMasterOffClearsItsPageOnlyAndOnGivesItBackEmpty)
{
    for (const qmx::PageInfo& page : qmx::pageCatalogue()) {
        SCOPED_TRACE(page.master);
        for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
            tick(qmx::pageInfo(entry.page).master);
            tick(entry.name);
            if (entry.textBoxName)
                text(entry.textBoxName)->setText("5");
        }
        for (int on = 0; on < 2; ++on) { // off clears the page, on again gives it back empty
            click(box(page.master));
            ASSERT_EQ(box(page.master)->Value(), on);
            expectAllPagesConsistent();
            for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
                const bool other = entry.page != page.page;
                EXPECT_EQ(box(entry.name)->Value(), other ? 1 : 0) << entry.name;
                EXPECT_TRUE(other || !entry.textBoxName || text(entry.textBoxName)->text().isEmpty()) << entry.name;
            }
        }
    }
}

TEST_F(PageRulesTest, ValueAndFastBoxesFollowOnlyTheirOwnClicks)
{
    Module1::RestoreOptionString("1,1,1|0|0|0|0"); // all three pages on, nothing on them ticked
    for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
        if (!entry.textBoxName)
            continue;
        SCOPED_TRACE(entry.name);
        qmx::TextBox* t = text(entry.textBoxName);
        t->setFocus();
        QTest::keyClicks(t, "12");
        EXPECT_EQ(box(entry.name)->Value(), 0);
        click(t);
        EXPECT_EQ(box(entry.name)->Value(), 1);
        EXPECT_EQ(t->text(), "12");
        click(box(entry.name));
        EXPECT_EQ(t->text(), "");
    }
    click(box("VISfast")); // the two "fast" boxes are independent of each other
    EXPECT_EQ(box("RADfast")->Value(), 0);
    click(box("RADfast"));
    click(box("VISfast"));
    EXPECT_EQ(box("RADfast")->Value(), 1);
    EXPECT_EQ(box("VISfast")->Value(), 0);
}

// A typed "," or "|" is dropped, and the box says why at once, in the language file's words.
TEST_F(PageRulesTest, ARefusedCharacterIsExplainedAtTheBox)
{
    QFile german(QStringLiteral(QMX_SOURCE_DIR "/resources/languages/Deutsch/language.qmxII"));
    ASSERT_TRUE(german.open(QIODevice::ReadOnly));
    const QString english = "\",\" and \"|\" cannot be stored in a value; use \".\" for decimals.";
    const std::tuple<QByteArray, const char*, const char*, QString> cases[] = {
        // language file, typed, kept, the explanation ("": nothing refused)
        {m_sandbox.readFile("language.qmxII"), "0,5", "05", english},
        {german.readAll(), "1|2", "12",
         "\",\" und \"|\" k\u00f6nnen in einem Wert nicht gespeichert werden; f\u00fcr Dezimalzahlen "
         "\".\" verwenden."},
        {"[language]\r\n", ",,||", "", english}, // built in
        {"[language]\r\n", "0.5 a;b", "0.5 a;b", ""},
    };
    Module1::RestoreOptionString("0,0,1|0|0|0|0");
    click(text("RADbounce_text"));
    for (const auto& [language, typed, kept, explained] : cases) {
        SCOPED_TRACE(typed);
        m_sandbox.writeFile("language.qmxII", language);
        text("RADbounce_text")->clear();
        text("RADbounce_text")->setToolTip(QString());
        QTest::keyClicks(text("RADbounce_text"), typed);
        EXPECT_EQ(text("RADbounce_text")->text(), kept);
        EXPECT_EQ(text("RADbounce_text")->toolTip(), explained);
        EXPECT_TRUE(explained.isEmpty() || QToolTip::text() == explained) << QToolTip::text().toStdString();
    }
}

const QString kMixed = "1,1,1|0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,1,2|1,0,0|1,0,0,0,0,0,0,0,0,0,0,1,8,0,0,0,0|1";

using OptionStringTest = FormFixture;
using ValueBudgetTest = FormFixture;

// Every tick and text of the window, by control name.
std::map<QString, QString> snapshot(const Form1& form)
{
    std::map<QString, QString> state;
    for (const char* name : {"BSP", "VIS", "RAD", "CopyFile"})
        state[name] = QString::number(form.checkBox(name)->Value());
    for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
        state[entry.name] = QString::number(form.checkBox(entry.name)->Value());
        if (entry.textBoxName)
            state[entry.textBoxName] = form.textBox(entry.textBoxName)->text();
    }
    return state;
}

// The window's side of the option string, which itself is checked on the option set: each control
// reaches its own field (alternate controls ticked, each value box with a text of its own), a restore
// over a ticked window gives exactly what was stored, and damaged text leaves every page consistent.
TEST_F(OptionStringTest, EachControlHasItsOwnFieldBothWays)
{
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Module1::RestoreOptionString(QString());
        qmx::options::OptionSet expected;
        for (const qmx::PageInfo& page : qmx::pageCatalogue()) {
            tick(page.master);
            expected.setMaster(page.page, true);
        }
        tick("CopyFile", round == 1);
        expected.copyFile = round == 1;
        int index = 0;
        for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
            if (++index % 2 != round)
                continue;
            tick(entry.name);
            expected[entry].ticked = true;
            if (entry.textBoxName) {
                text(entry.textBoxName)->setText(QString::number(index));
                expected[entry].text = std::to_string(index);
            }
        }
        const QString stored = Module1::StoredOptionString();
        EXPECT_EQ(stored.toStdString(), qmx::options::storedOptionString(expected));
        const std::map<QString, QString> before = snapshot(*m_form);
        Module1::RestoreOptionString(kMixed);
        Module1::RestoreOptionString(stored);
        EXPECT_EQ(snapshot(*m_form), before);
    }
    for (const QString& damaged : {QStringLiteral("1,1,1|x|,,,,|1|1"), QString(10000, '|'),
                                   "1,1,1|" + QStringLiteral("1,").repeated(5000) + QChar(0)}) {
        SCOPED_TRACE(damaged.left(20).toStdString());
        Module1::RestoreOptionString(kMixed);
        Module1::RestoreOptionString(damaged);
        expectAllPagesConsistent();
        EXPECT_EQ(Module1::StoredOptionString().count('|'), 4);
    }
}

// The six value boxes share the room the settings file gives back: filled as far as they let the user, in
// the worst combinations of ticked and unticked options, the stored string still fits and comes back whole.
TEST_F(ValueBudgetTest, FullValueBoxesStillFitTheSettingsFileAndRestoreWhole)
{
    const std::pair<const char*, QStringList> cases[] = {
        {"every option ticked", {}},
        {"only the last value option ticked, all pages on", {"RADmaxdispsamplesize"}},
        {"only the first value option ticked, all pages on", {"BSPblocks"}},
    };
    for (const auto& [name, only] : cases) {
        SCOPED_TRACE(name);
        Module1::RestoreOptionString(QString());
        for (const char* master : {"BSP", "VIS", "RAD", "CopyFile"})
            tick(master);
        for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
            if (!only.isEmpty() && !only.contains(entry.name))
                continue;
            tick(entry.name);
            if (entry.textBoxName) // the user types as much as each box takes, box after box
                QTest::keyClicks(text(entry.textBoxName), QString(300, QLatin1Char('7')));
        }
        const QString stored = Module1::StoredOptionString();
        EXPECT_LE(stored.size(), static_cast<int>(qmx::ini::kMaxValueBytes));

        const std::string file = m_sandbox.settingsFile().toStdString();
        ASSERT_TRUE(qmx::ini::writeValue(file, "settings", "LastUsedSettings", stored.toStdString()));
        const std::map<QString, QString> before = snapshot(*m_form);
        Module1::RestoreOptionString(QString::fromStdString(qmx::ini::readValue(file, "settings", "LastUsedSettings")));
        EXPECT_EQ(snapshot(*m_form), before);
        EXPECT_EQ(Module1::StoredOptionString(), stored);
    }
}

} // namespace
