// The four preset slots: what a save writes, what a load restores, and the messages of both.

#include "gui/parts/OptionString.h"
#include "gui/toolkit/CheckBox.h"
#include "gui/toolkit/MessageBox.h"
#include "gui/toolkit/TextBox.h"
#include "gui/windows/Form1.h"
#include "support/Recorders.h"
#include "support/Sandbox.h"

#include <QAction>

#include <gtest/gtest.h>

#include <memory>

namespace {

const char* const kNoise = "BSP;VIS;RAD;BSPfulldetail;VISradiusoverride;RADluxdensity=7;RADbounce=3;CopyFile";

class PresetsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_sandbox.writeFile(QStringLiteral("language.qmxII"),
                            "[Language]\r\npreset=Preset\r\nsaved=saved\r\nloaded=ok");
        m_form = std::make_unique<Form1>();
    }

    // On a window with every page off, ticks boxes as a user would, masters first; "name=text" also fills the
    // option's text box.
    void apply(const char* settings)
    {
        Module1::RestoreOptionString(QStringLiteral("0,0,0|0|0,0,0|0|0"));
        for (const QString& setting : QString::fromUtf8(settings).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QStringList parts = setting.split(QLatin1Char('='));
            ASSERT_NE(m_form->checkBox(parts[0]), nullptr) << setting.toStdString();
            m_form->checkBox(parts[0])->setValue(1);
            if (parts.size() > 1)
                m_form->textBox(parts[0] + QStringLiteral("_text"))->setText(parts[1]);
        }
    }

    // The whole option state: every box's value, text and whether it can be used.
    std::string state() const
    {
        std::string s;
        for (qmx::CheckBox* box : m_form->findChildren<qmx::CheckBox*>())
            s += box->objectName().toStdString() + '=' + std::to_string(box->Value()) + (box->isEnabled() ? " " : "- ");
        for (qmx::TextBox* box : m_form->findChildren<qmx::TextBox*>())
            s += box->objectName().toStdString() + "='" + box->text().toStdString() + (box->isEnabled() ? "' " : "'- ");
        return s;
    }

    // Triggers a preset action and expects exactly one plain message box saying so.
    void act(const char* action, int slot, const char* word)
    {
        qmxtest::messages().clear();
        auto* a = m_form->findChild<QAction*>(QLatin1String(action) + QString::number(slot));
        ASSERT_TRUE(a && a->isEnabled()) << action << slot;
        a->trigger();
        QStringList shown;
        for (const qmxtest::ShownMessage& m : qmxtest::messages())
            shown << QStringLiteral("%1|%2|%3").arg(m.prompt).arg(m.style).arg(m.title);
        EXPECT_EQ(shown.join(QLatin1Char('\n')).toStdString(),
                  (QStringLiteral("Preset %1 %2|0|").arg(slot).arg(word) + qmx::ApplicationTitle()).toStdString());
    }

    qmxtest::Sandbox m_sandbox;
    std::unique_ptr<Form1> m_form;
};

TEST_F(PresetsTest, EachSlotRoundTripsAndTouchesNothingButItsOwnLine)
{
    QByteArray expected = "; kept\r\n[settings]\r\nLastUsedSettings=x\r\n\r\n[presets]\r\npreset1=1\r\npreset2=2\r\n"
                          "preset3=3\r\npreset4=4\r\n[other]\r\npreset1=not this one\r\n";
    m_sandbox.writeFile(QStringLiteral("settings.qmxII"), expected);
    const char* const cases[][2] = {
        {"BSP;VIS;RAD;BSPnowater;BSPluxelscale=2;VISfast;RADfast;RADbounce=8;CopyFile",
         "1,1,1|0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,1,2|1,0,0|1,0,0,0,0,0,0,0,0,0,0,1,8,0,0,0,0|1"},
        {"BSP;RAD;BSPleaktest;BSPblocks=;RADlights=\u00e9t\u00e9 9.rad;CopyFile",
         "1,0,1|1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1,,0,0|0,0,0|0,0,0,0,0,0,0,0,0,1,\xe9t\xe9 9.rad,0,0,0,0,0,0|1"},
        {"VIS;VISnosort", "0,1,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,1,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0"},
        {"", "0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0"},
    };
    std::string saved[4];
    for (int slot = 1; slot <= 4; ++slot) {
        SCOPED_TRACE(slot);
        apply(cases[slot - 1][0]);
        saved[slot - 1] = state();
        act("savepreset", slot, "saved");
        const QByteArray line = "\npreset" + QByteArray::number(slot) + '=';
        expected.replace(line + QByteArray::number(slot) + "\r", line + cases[slot - 1][1] + "\r");
        EXPECT_EQ(m_sandbox.readFile(QStringLiteral("settings.qmxII")), expected);
    }
    for (int slot : {2, 4, 1, 3}) { // over a window with other boxes ticked, a load gives exactly the stored state
        SCOPED_TRACE(slot);
        apply(kNoise);
        act("loadpreset", slot, "ok");
        EXPECT_EQ(state(), saved[slot - 1]);
    }
}

// Never saved or damaged: pages cleared first, the rest restored, nothing written, the message shown.
TEST_F(PresetsTest, NeverSavedOrDamagedSlotsLoadWhatTheyCan)
{
    // Each row: what the slot holds ("-": no settings file at all) > what is ticked after the load.
    const QByteArray rows = "->\n>\ngarbage>\n|||||||>\n1 ,true,2|1|1|1|yes>\n1,1,1>BSP;VIS;RAD\n"
                            "1,0,0|1,1>BSP;BSPleaktest;BSPonlyents\n0,1,0|1,1,1|1|0,0|1>VIS;VISfast;CopyFile\n"
                            "0,0,1|x|x|0,0,0,0,0,0,0,0,0,0,0,1>RAD;RADbounce";
    for (const QByteArray& row : rows.split('\n')) {
        SCOPED_TRACE(row.constData());
        const QList<QByteArray> c = row.split('>');
        const QByteArray file = c[0] == "-" ? QByteArray() : "[presets]\r\npreset2=" + c[0] + "\r\n";
        m_sandbox.writeFile(QStringLiteral("settings.qmxII"), file);
        apply(c[1].constData());
        const std::string expected = state();
        apply(kNoise);
        act("loadpreset", 2, "ok");
        EXPECT_EQ(state(), expected);
        EXPECT_EQ(m_sandbox.readFile(QStringLiteral("settings.qmxII")), file);
    }
}

} // namespace
