#include "core/options/OptionCatalogue.h"
#include "core/storage/IniFile.h"
#include "main_window/Form1.h"
#include "options/OptionString.h"
#include "options/ToolArguments.h"
#include "support/Recorders.h"
#include "support/Sandbox.h"
#include "toolkit/CheckBox.h"
#include "toolkit/TextBox.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QRandomGenerator>
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

TEST_F(MainWindowTest, ControlsAndMenusAreFoundByNameInOrder)
{
    for (const char* name : {"Drive1", "Dir1", "File1", "Drive2", "Dir2", "SSTab1", "CopyFile", "RunMap", "GameCommand",
                             "BSP", "VIS", "RAD"})
        EXPECT_NE(m_form->findChild<QWidget*>(name), nullptr) << name;
    for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
        QWidget* page = m_form->SSTab1->widget(static_cast<int>(entry.page));
        EXPECT_TRUE(page->findChild<qmx::CheckBox*>(entry.name)) << entry.name;
        EXPECT_TRUE(!entry.textBoxName || page->findChild<qmx::TextBox*>(entry.textBoxName)) << entry.name;
    }
    QStringList seen;
    for (QAction* a : m_form->menuBar()->actions() + m_form->presets->actions() + m_form->presetload->actions()
             + m_form->presetsave->actions())
        seen << a->objectName();
    EXPECT_EQ(seen.join(';'),
              "MenuCompile;presets;MenuCredits;MenuHelp;presetload;presetsave;loadpreset1;loadpreset2;"
              "loadpreset3;loadpreset4;savepreset1;savepreset2;savepreset3;savepreset4");
}

TEST_F(MainWindowTest, NoCommandAndNoClosingWhileACompileRuns)
{
    Module1::RestoreOptionString("1,0,0|1|0|0|1");
    const QString before = Module1::StoredOptionString();
    m_form->compileRunning = true;
    for (QAction* action : m_form->findChildren<QAction*>())
        action->trigger();
    EXPECT_FALSE(m_form->close());
    EXPECT_TRUE(qmxtest::messages().empty());
    EXPECT_EQ(qmxtest::endProgramCount(), 0);
    EXPECT_EQ(Module1::StoredOptionString(), before);
    m_form->compileRunning = false;
    EXPECT_TRUE(m_form->close());
    EXPECT_EQ(qmxtest::endProgramCount(), 1);
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

// A typed "," or "|" is refused, and the box says why at once, in the language file's words.
TEST_F(PageRulesTest, ARefusedCharacterIsExplainedAtTheBox)
{
    QFile german(QStringLiteral(QMX_SOURCE_DIR "/resources/languages/Deutsch/language.qmxII"));
    ASSERT_TRUE(german.open(QIODevice::ReadOnly));
    const std::pair<QByteArray, QString> cases[] = {
        {m_sandbox.readFile("language.qmxII"), "\",\" and \"|\" cannot be stored in a value; use \".\" for decimals."},
        {german.readAll(),
         "\",\" und \"|\" k\u00f6nnen in einem Wert nicht gespeichert werden; f\u00fcr Dezimalzahlen "
         "\".\" verwenden."},
        {"[language]\r\n", "\",\" and \"|\" cannot be stored in a value; use \".\" for decimals."}, // built in
    };
    Module1::RestoreOptionString("0,0,1|0|0|0|0");
    click(text("RADbounce_text"));
    for (const auto& [language, explained] : cases) {
        SCOPED_TRACE(explained.toStdString());
        m_sandbox.writeFile("language.qmxII", language);
        text("RADbounce_text")->clear();
        QTest::keyClicks(text("RADbounce_text"), "0,5");
        EXPECT_EQ(text("RADbounce_text")->text(), "05");
        EXPECT_EQ(QToolTip::text(), explained);
        EXPECT_EQ(text("RADbounce_text")->toolTip(), explained);
    }
}

using ToolArgumentsTest = FormFixture;

// The window's routines read its controls; the switch texts themselves are checked on the option set.
TEST_F(ToolArgumentsTest, SwitchTextsFollowTheWindowsTicks)
{
    // Masters and options ticked in this order; "box=value" texts; the BSP, VIS and RAD texts joined by '|'.
    const char* const cases[][3] = {
        {"BSPnowater VISfast RADdump", "", "||"}, // options without their masters
        {"BSP BSPleaktest BSPnowater BSPblocks VIS VISnosort", "BSPblocks_text=4 4 12",
         "-leaktest -nowater -blocks 4 4 12| -nosort|"},
        {"RAD RADdump RADlights", "RADbounce_text=9;RADlights_text=a b", "|| -dump -lights a b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        Module1::RestoreOptionString(QString());
        for (const QString& name : QString(c[0]).split(' ', Qt::SkipEmptyParts))
            tick(name);
        for (const QString& pair : QString(c[1]).split(';', Qt::SkipEmptyParts))
            text(pair.section('=', 0, 0))->setText(pair.section('=', 1));
        EXPECT_EQ(Module1::BuildBspArguments() + '|' + Module1::BuildVisArguments() + '|'
                      + Module1::BuildRadArguments(),
                  QString(c[2]));
    }
}

const QString kDefault = "0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0";
const QString kMixed = "1,1,1|0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,1,2|1,0,0|1,0,0,0,0,0,0,0,0,0,0,1,8,0,0,0,0|1";
const QString kOnlyRad = "0,0,1|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0";

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

TEST_F(OptionStringTest, RandomStatesSurviveWriteAndRestore)
{
    QRandomGenerator rng(20261205);
    const QString alphabet = QStringLiteral("0123,456|789 -.abcXYZ\u00e4\u00df\u20ac;=\"'");
    for (int round = 0; round < 200; ++round) {
        for (const char* master : {"BSP", "VIS", "RAD", "CopyFile"})
            tick(master, rng.bounded(2));
        for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
            tick(entry.name, rng.bounded(2));
            if (entry.textBoxName) // a random piece of the alphabet, maybe empty; the box drops separators
                text(entry.textBoxName)->setText(alphabet.mid(rng.bounded(alphabet.size()), rng.bounded(8)));
        }
        // Unticked options and pages are not recorded: they come back unticked and empty.
        std::map<QString, QString> expected = snapshot(*m_form);
        for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
            if (expected[qmx::pageInfo(entry.page).master] == "0")
                expected[entry.name] = "0";
            if (entry.textBoxName && expected[entry.name] == "0")
                expected[entry.textBoxName].clear();
        }
        const QString stored = Module1::StoredOptionString();
        Module1::RestoreOptionString(kMixed); // a ticked window in between: restore must not merge
        Module1::RestoreOptionString(stored);
        ASSERT_EQ(snapshot(*m_form), expected) << "round " << round << ": " << stored.toStdString();
        ASSERT_EQ(Module1::StoredOptionString(), stored);
    }
}

// Restored over a ticked window, the examples come back exactly; hostile text leaves a consistent window.
TEST_F(OptionStringTest, ExamplesRoundTripBothWaysAndHostileTextNeverBreaksTheWindow)
{
    const QStringList examples = {kDefault, kMixed, kOnlyRad};
    QByteArray noise;
    for (QRandomGenerator rng(7); noise.size() < 4000;)
        noise += static_cast<char>(rng.bounded(256));
    // Empty, short, only separators, junk fields, and then far too long or binary.
    QStringList hostile = QStringLiteral(";|;||||||||;,,,,,,,,;1;1,1,1|;1,1,1||||1; 1,true,2|1|1|1| 1;"
                                         "1,1,1|1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1|1|0,0,0,0,0,0,0,0,0,1")
                              .split(';');
    hostile << "1,1,1|" + QString("1,").repeated(5000) << QString("|1").repeated(5000) << QString(10000, '1')
            << "1,1,1|" + QString(10000, 'x') + "|1,1,1|1," + QString(10000, ',') << QString::fromLatin1(noise)
            << QString::fromUtf8(noise) << QString("1,1,1|") + QChar(0) + ",1|\n1\r|1,1\t,1|1";
    for (const QString& stored : examples + hostile) {
        SCOPED_TRACE(stored.left(40).toStdString());
        Module1::RestoreOptionString(kMixed);
        Module1::RestoreOptionString(stored);
        expectAllPagesConsistent();
        const QString written = Module1::StoredOptionString();
        // The examples come back exactly; whatever was restored writes and reads back to itself.
        EXPECT_EQ(written, examples.contains(stored) ? stored : written);
        Module1::RestoreOptionString(written);
        EXPECT_EQ(Module1::StoredOptionString(), written);
        EXPECT_EQ(written.count('|'), 4);
    }
}

// The six value texts share the room the settings file gives back, so even full boxes restore whole.
// The user fills the value boxes as far as they let him, in the worst combinations of ticked and unticked options;
// the stored string still fits the settings file and comes back whole.
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
