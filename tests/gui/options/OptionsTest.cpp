#include "core/options/OptionCatalogue.h"
#include "core/options/OptionString.h"
#include "core/storage/IniFile.h"
#include "gui/parts/OptionString.h"
#include "gui/toolkit/CheckBox.h"
#include "gui/toolkit/TextBox.h"
#include "gui/windows/Form1.h"
#include "support/Sandbox.h"

#include <QTabWidget>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

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

    qmxtest::Sandbox m_sandbox;
    std::unique_ptr<Form1> m_form = std::make_unique<Form1>();
};

using PageRulesTest = FormFixture;
using OptionStringTest = FormFixture;
using ValueBudgetTest = FormFixture;

// Off clears the master's page and only that; on again gives it back empty. A page that is off shows its
// controls disabled, unticked, empty and grey; one that is on, enabled and white.
TEST_F(PageRulesTest, ClickingAMasterOffClearsItsPageOnlyAndOnGivesItBackEmpty)
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
            EXPECT_EQ(box(page.master)->Value(), on);
            for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
                const bool pageOn = entry.page != page.page || on;
                EXPECT_EQ(box(entry.name)->Value(), entry.page != page.page ? 1 : 0) << entry.name;
                EXPECT_EQ(box(entry.name)->isEnabled(), pageOn) << entry.name;
                if (qmx::TextBox* t = entry.textBoxName ? text(entry.textBoxName) : nullptr) {
                    EXPECT_EQ(t->text(), entry.page != page.page ? "5" : "") << entry.name;
                    EXPECT_EQ(t->isEnabled(), pageOn) << entry.name;
                    EXPECT_EQ(t->BackColor(), pageOn ? qmx::kSysColorWindow : qmx::kSysColorScrollBar) << entry.name;
                }
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
    qmx::TextBox* t = text("RADbounce_text");
    click(t);
    for (const auto& [language, typed, kept, explained] : cases) {
        SCOPED_TRACE(typed);
        m_sandbox.writeFile("language.qmxII", language);
        t->clear();
        t->setToolTip(QString());
        QTest::keyClicks(t, typed);
        EXPECT_EQ(t->text(), kept);
        EXPECT_EQ(t->toolTip(), explained);
        EXPECT_TRUE(explained.isEmpty() || QToolTip::text() == explained) << QToolTip::text().toStdString();
    }
}

// The window's side of the option string (its format is the option set's business): each control reaches
// its own field (alternate controls ticked, each value box with a text of its own), and a restore over a
// differently ticked window gives back exactly what was stored.
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
        Module1::RestoreOptionString(
            "1,1,1|0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,1,2|1,0,0|1,0,0,0,0,0,0,0,0,0,0,1,8,0,0,0,0|1");
        Module1::RestoreOptionString(stored);
        EXPECT_EQ(Module1::StoredOptionString(), stored); // the stored text is made from the controls alone
    }
}

// The six value boxes share the room the settings file gives back, in bytes of its encoding: filled as far
// as they let the user, in the worst combinations of ticked and unticked options, the texts take the budget
// to its last whole character, and the stored string fits and comes back whole.
TEST_F(ValueBudgetTest, FullValueBoxesStillFitTheSettingsFileAndRestoreWhole)
{
    const std::string utf8 = "\xEF\xBB\xBF[settings]\r\n";
    const struct
    {
        const char* name;
        QStringList only; // the value options ticked; empty: all
        QString typed;
        std::string before; // the settings file's content
        std::size_t charBytes;
    } cases[] = {
        {"every option ticked", {}, "7", "", 1},
        {"only the last value option ticked, all pages on", {"RADmaxdispsamplesize"}, "7", "", 1},
        {"only the first value option ticked, all pages on", {"BSPblocks"}, "7", "", 1},
        {"two-byte letters in a UTF-8 file", {}, u8"\u00e9", utf8, 2},
        {"three-byte letters in a UTF-8 file", {"BSPblocks"}, u8"\u20ac", utf8, 3},
        {"three-byte letters in an ANSI file", {"BSPblocks"}, u8"\u20ac", "", 1},
    };
    const std::size_t budget = qmx::options::valueTextBudget();
    for (const auto& [name, only, typed, before, charBytes] : cases) {
        SCOPED_TRACE(name);
        m_sandbox.writeFile(QStringLiteral("settings.qmxII"), QByteArray::fromStdString(before));
        Module1::RestoreOptionString(QString());
        for (const char* master : {"BSP", "VIS", "RAD", "CopyFile"})
            tick(master);
        for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
            if (!only.isEmpty() && !only.contains(entry.name))
                continue;
            tick(entry.name);
            // The user types as much as each box takes, box after box (key events with the letter's text,
            // which keyClicks has only for ASCII).
            for (int i = 0; entry.textBoxName && i < 300; ++i)
                QTest::sendKeyEvent(QTest::Click, text(entry.textBoxName), Qt::Key_unknown, typed, Qt::NoModifier);
        }
        std::size_t textBytes = 0;
        for (const qmx::OptionEntry& entry : qmx::optionCatalogue())
            textBytes += entry.textBoxName ? text(entry.textBoxName)->text().size() * charBytes : 0;
        EXPECT_EQ(textBytes, budget - budget % charBytes);
        const QString stored = Module1::StoredOptionString();
        const std::string file = m_sandbox.settingsFile().toStdString();
        EXPECT_LE(qmx::ini::storedValueBytes(file, stored.toStdString()), qmx::ini::kMaxValueBytes);
        ASSERT_TRUE(qmx::ini::writeValue(file, "settings", "LastUsedSettings", stored.toStdString()));
        Module1::RestoreOptionString(QString::fromStdString(qmx::ini::readValue(file, "settings", "LastUsedSettings")));
        EXPECT_EQ(Module1::StoredOptionString(), stored);
    }
}

} // namespace
