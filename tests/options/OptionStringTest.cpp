#include "options/OptionString.h"

#include "FormFixture.h"

#include <QRandomGenerator>

#include <map>

namespace {

const QString kDefault = "0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0";
const QString kMixed = "1,1,1|0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,1,2|1,0,0|1,0,0,0,0,0,0,0,0,0,0,1,8,0,0,0,0|1";
const QString kOnlyRad = "0,0,1|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0";

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

class OptionStringTest : public FormFixture
{
};

TEST_F(OptionStringTest, ExamplesRoundTripBothWays)
{
    for (const QString& stored : {kDefault, kMixed, kOnlyRad}) {
        SCOPED_TRACE(stored.toStdString());
        Module1::RestoreOptionString(stored);
        EXPECT_EQ(Module1::StoredOptionString(), stored);
        expectAllPagesConsistent();
    }
}

TEST_F(OptionStringTest, UntickingRadWritesEighteenZeros)
{
    Module1::RestoreOptionString(kOnlyRad);
    ASSERT_EQ(Module1::SerializeRadOptions().count(','), 16);
    m_form->RAD->setValue(0);
    EXPECT_EQ(Module1::SerializeRadOptions(), "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0");
}

TEST_F(OptionStringTest, RandomStatesSurviveWriteAndRestore)
{
    QRandomGenerator rng(20261205);
    const QString alphabet = QStringLiteral("0123456789 -.abcXYZ\u00e4\u00df\u20ac;=\"'");
    for (int round = 0; round < 200; ++round) {
        Module1::RestoreOptionString(QString());
        for (const char* master : {"BSP", "VIS", "RAD", "CopyFile"})
            tick(master, rng.bounded(2));
        for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
            tick(entry.name, rng.bounded(2));
            if (!entry.textBoxName)
                continue;
            QString value;
            for (int n = rng.bounded(8); n > 0; --n)
                value += alphabet.at(rng.bounded(alphabet.size()));
            text(entry.textBoxName)->setText(value);
        }
        // Unticked options and pages are not recorded: they come back unticked and empty.
        std::map<QString, QString> expected = snapshot(*m_form);
        for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
            const bool pageOn = expected[qmx::pageInfo(entry.page).master] == "1";
            if (!pageOn)
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

TEST_F(OptionStringTest, SeparatorsNeverReachTheStoredString)
{
    Module1::RestoreOptionString(kOnlyRad);
    tick("RADlights");
    // The box drops them even when code sets the text, so nothing shifts the later fields.
    text("RADlights_text")->setText("1,2|3");
    Module1::RestoreOptionString(Module1::StoredOptionString());
    EXPECT_EQ(text("RADlights_text")->text(), "123");
    EXPECT_EQ(box("RADbounce")->Value(), 0);
}

TEST_F(OptionStringTest, ShortPartsReadMissingFieldsAsUntickedAndEmpty)
{
    Module1::RestoreOptionString("1,1,1|1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1|1|0,0,0,0,0,0,0,0,0,1");
    EXPECT_EQ(box("BSPleaktest")->Value(), 1);
    EXPECT_EQ(box("BSPblocks")->Value(), 1);
    EXPECT_EQ(text("BSPblocks_text")->text(), "");
    EXPECT_EQ(box("BSPluxelscale")->Value(), 0);
    EXPECT_EQ(box("VISfast")->Value(), 1);
    EXPECT_EQ(box("RADlights")->Value(), 1);
    EXPECT_EQ(box("CopyFile")->Value(), 0);
    expectAllPagesConsistent();
}

TEST_F(OptionStringTest, HostileTextNeverBreaksTheWindow)
{
    QByteArray noise(4000, '\0');
    QRandomGenerator rng(7);
    for (char& c : noise)
        c = static_cast<char>(rng.bounded(256));
    const QString hostile[] = {
        "",
        "|",
        "||||||||",
        ",,,,,,,,",
        "1",
        "1,1,1",
        "1,1,1|",
        "1,1,1||||1",
        " 1,true,2|1|1|1| 1",
        "1,1,1|" + QString("1,").repeated(5000),
        QString("|1").repeated(5000),
        QString(10000, QLatin1Char('1')),
        "1,1,1|" + QString(10000, QLatin1Char('x')) + "|1,1,1|1," + QString(10000, QLatin1Char(',')),
        QString::fromLatin1(noise),
        QString::fromUtf8(noise),
        QString("1,1,1|") + QChar(0) + ",1|\n1\r|1,1\t,1|1",
    };
    for (const QString& stored : hostile) {
        SCOPED_TRACE(stored.left(40).toStdString());
        Module1::RestoreOptionString(kMixed);
        Module1::RestoreOptionString(stored);
        expectAllPagesConsistent();
        // Whatever was restored writes and reads back to itself.
        const QString written = Module1::StoredOptionString();
        Module1::RestoreOptionString(written);
        EXPECT_EQ(Module1::StoredOptionString(), written);
        EXPECT_EQ(written.count('|'), 4);
    }
}

} // namespace
