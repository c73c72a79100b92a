// The four preset slots: what a save writes, what a load restores, and the messages of both.

#include "main_window/Form1.h"
#include "options/OptionString.h"
#include "support/Recorders.h"
#include "support/Sandbox.h"
#include "toolkit/CheckBox.h"
#include "toolkit/MessageBox.h"
#include "toolkit/TextBox.h"

#include <QAction>
#include <QFile>
#include <QMap>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

const QByteArray kLanguage = "[Language]\r\npreset=Preset\r\nsaved=saved\r\nloaded=loaded\r\n";

// The default state of the window as a stored option string.
const QString kDefaultString
    = QStringLiteral("0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0");

// Every option control's value and whether it can be used: the whole visible option state.
struct WindowState
{
    QMap<QString, int> values;
    QMap<QString, QString> texts;
    QMap<QString, bool> enabled;

    bool operator==(const WindowState& o) const
    {
        return values == o.values && texts == o.texts && enabled == o.enabled;
    }
};

std::ostream& operator<<(std::ostream& os, const WindowState& s)
{
    for (auto it = s.values.begin(); it != s.values.end(); ++it) {
        if (it.value() != 0)
            os << it.key().toStdString() << "=1 ";
    }
    for (auto it = s.texts.begin(); it != s.texts.end(); ++it) {
        if (!it.value().isEmpty())
            os << it.key().toStdString() << "='" << it.value().toStdString() << "' ";
    }
    for (auto it = s.enabled.begin(); it != s.enabled.end(); ++it) {
        if (!it.value())
            os << it.key().toStdString() << ":off ";
    }
    return os;
}

struct Setting
{
    const char* name;
    const char* text; // for a value option: its text box's text
};

class PresetsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_sandbox.writeFile(QStringLiteral("language.qmxII"), kLanguage);
        m_form = std::make_unique<Form1>();
        // As after start-up with nothing stored: every page switched off.
        Module1::RestoreOptionString(kDefaultString);
    }

    WindowState state() const
    {
        WindowState s;
        for (qmx::CheckBox* box : m_form->findChildren<qmx::CheckBox*>()) {
            s.values[box->objectName()] = box->Value();
            s.enabled[box->objectName()] = box->isEnabled();
        }
        for (qmx::TextBox* box : m_form->findChildren<qmx::TextBox*>()) {
            s.texts[box->objectName()] = box->text();
            s.enabled[box->objectName()] = box->isEnabled();
        }
        return s;
    }

    // Ticks boxes the way a user would: masters first, then the options on their pages.
    void apply(std::initializer_list<Setting> settings)
    {
        for (const Setting& setting : settings) {
            qmx::CheckBox* box = m_form->checkBox(QLatin1String(setting.name));
            ASSERT_NE(box, nullptr) << setting.name;
            box->setValue(1);
            if (setting.text) {
                qmx::TextBox* text = m_form->textBox(QLatin1String(setting.name) + QStringLiteral("_text"));
                ASSERT_NE(text, nullptr) << setting.name;
                text->setText(QString::fromUtf8(setting.text));
            }
        }
    }

    void trigger(const QString& name)
    {
        auto* action = m_form->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name.toStdString();
        ASSERT_TRUE(action->isEnabled()) << name.toStdString();
        action->trigger();
    }

    void save(int slot) { trigger(QStringLiteral("savepreset%1").arg(slot)); }
    void load(int slot) { trigger(QStringLiteral("loadpreset%1").arg(slot)); }

    QByteArray settingsBytes() const { return m_sandbox.readFile(QStringLiteral("settings.qmxII")); }

    qmxtest::Sandbox m_sandbox;
    std::unique_ptr<Form1> m_form;
};

class PresetSlotTest : public PresetsTest, public testing::WithParamInterface<int>
{
};

TEST_P(PresetSlotTest, SaveWritesTheStoredOptionStringAndSaysSo)
{
    const int slot = GetParam();
    apply({{"BSP", nullptr},
           {"VIS", nullptr},
           {"RAD", nullptr},
           {"BSPnowater", nullptr},
           {"BSPluxelscale", "2"},
           {"VISfast", nullptr},
           {"RADfast", nullptr},
           {"RADbounce", "8"},
           {"CopyFile", nullptr}});
    save(slot);

    const QByteArray expectedLine = QStringLiteral("preset%1=1,1,1|0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,1,2|1,0,0|"
                                                   "1,0,0,0,0,0,0,0,0,0,0,1,8,0,0,0,0|1")
                                        .arg(slot)
                                        .toLatin1();
    const QByteArray file = settingsBytes();
    EXPECT_TRUE(file.contains("[presets]")) << file.constData();
    EXPECT_TRUE(file.contains(expectedLine)) << file.constData();
    EXPECT_EQ(file.count("preset"), 2) << "only the saved slot is written: " << file.constData();

    ASSERT_EQ(qmxtest::messages().size(), 1u);
    EXPECT_EQ(qmxtest::messages()[0].prompt, QStringLiteral("Preset %1 saved").arg(slot));
    EXPECT_EQ(qmxtest::messages()[0].style, 0);
    EXPECT_EQ(qmxtest::messages()[0].title, qmx::ApplicationTitle());
}

TEST_P(PresetSlotTest, SaveThenLoadOverOtherOptionsGivesTheSavedStateBack)
{
    const int slot = GetParam();
    apply({{"BSP", nullptr},
           {"RAD", nullptr},
           {"BSPleaktest", nullptr},
           {"BSPdumpstaticprops", nullptr},
           {"BSPblocks", ""},
           {"BSPluxelscale", "0.5"},
           {"RADdump", nullptr},
           {"RADlights", "my lights.rad"},
           {"RADmaxdispsamplesize", "\u00e9t\u00e9 9"},
           {"CopyFile", nullptr}});
    const WindowState saved = state();
    save(slot);

    // Tick other things everywhere, then load: nothing of these may survive.
    m_form->CopyFile->setValue(0);
    apply({{"VIS", nullptr}, {"VISnosort", nullptr}, {"BSPnoweld", nullptr}, {"RADbounce", "3"}});
    m_form->checkBox(QStringLiteral("BSPleaktest"))->setValue(0);
    qmxtest::messages().clear();
    load(slot);

    EXPECT_EQ(state(), saved);
    ASSERT_EQ(qmxtest::messages().size(), 1u);
    EXPECT_EQ(qmxtest::messages()[0].prompt, QStringLiteral("Preset %1 loaded").arg(slot));
    EXPECT_EQ(qmxtest::messages()[0].style, 0);
    EXPECT_EQ(qmxtest::messages()[0].title, qmx::ApplicationTitle());
}

TEST_P(PresetSlotTest, SavingTouchesNothingButItsOwnLine)
{
    const int slot = GetParam();
    QByteArray before
        = "; kept by hand\r\n[settings]\r\nSDKDir=C:\\sdk\\bin\r\nLastUsedSettings=" + kDefaultString.toLatin1()
        + "\r\n\r\n[presets]\r\npreset1=one\r\npreset2=two\r\npreset3=three\r\npreset4=four\r\n[other]\r\npreset"
        + QByteArray::number(slot) + "=not this one\r\n";
    m_sandbox.writeFile(QStringLiteral("settings.qmxII"), before);
    save(slot);

    const char* old[] = {"one", "two", "three", "four"};
    QByteArray expected = before;
    const QByteArray oldLine = "preset" + QByteArray::number(slot) + "=" + old[slot - 1] + "\r\n";
    expected.replace(expected.indexOf(oldLine), oldLine.size(),
                     "preset" + QByteArray::number(slot) + "=" + kDefaultString.toLatin1() + "\r\n");
    EXPECT_EQ(settingsBytes(), expected);
}

TEST_P(PresetSlotTest, ASlotNeverSavedLoadsTheDefaultStateAndStillReports)
{
    const int slot = GetParam();
    const WindowState fresh = state();
    apply({{"BSP", nullptr},
           {"VIS", nullptr},
           {"RAD", nullptr},
           {"BSPnocsg", nullptr},
           {"RADbounce", "4"},
           {"CopyFile", nullptr}});
    load(slot);

    EXPECT_EQ(state(), fresh);
    EXPECT_TRUE(settingsBytes().isEmpty()) << "loading never writes";
    ASSERT_EQ(qmxtest::messages().size(), 1u);
    EXPECT_EQ(qmxtest::messages()[0].prompt, QStringLiteral("Preset %1 loaded").arg(slot));
}

INSTANTIATE_TEST_SUITE_P(Slots, PresetSlotTest, testing::Values(1, 2, 3, 4));

TEST_F(PresetsTest, SlotsAreIndependent)
{
    apply({{"BSP", nullptr}, {"BSPnowater", nullptr}});
    const WindowState first = state();
    save(1);
    apply({{"VIS", nullptr}, {"VISfast", nullptr}, {"CopyFile", nullptr}});
    const WindowState second = state();
    save(2);
    m_form->BSP->setValue(0);
    save(3);

    load(1);
    EXPECT_EQ(state(), first);
    load(2);
    EXPECT_EQ(state(), second);
    load(1);
    EXPECT_EQ(state(), first);
}

TEST_F(PresetsTest, SavingTwiceKeepsOnlyTheSecondSet)
{
    apply({{"BSP", nullptr}, {"BSPnomerge", nullptr}});
    save(4);
    m_form->checkBox(QStringLiteral("BSPnomerge"))->setValue(0);
    apply({{"BSPnoprune", nullptr}, {"RAD", nullptr}});
    const WindowState second = state();
    save(4);
    m_form->BSP->setValue(0);
    m_form->RAD->setValue(0);

    load(4);
    EXPECT_EQ(state(), second);
    EXPECT_EQ(settingsBytes().count("preset4="), 1);
}

// Damaged or foreign text in a slot: the pages are cleared first, the rest restores what it can, and
// the loaded message comes all the same.
TEST_F(PresetsTest, DamagedSlotsNeverFailAndClearFirst)
{
    struct Case
    {
        const char* stored;
        std::initializer_list<const char*> ticked; // boxes ticked afterwards
    };
    const Case cases[] = {
        {"", {}},
        {"garbage", {}},
        {"|||||||", {}},
        {"1,1,1", {"BSP", "VIS", "RAD"}},
        {"1,0,0|1,1", {"BSP", "BSPleaktest", "BSPonlyents"}},
        {"0,1,0|1,1,1|1|0,0|1", {"VIS", "VISfast", "CopyFile"}},
        {"0,0,1|x|x|0,0,0,0,0,0,0,0,0,0,0,1", {"RAD", "RADbounce"}},
        {"1 ,true,2|1|1|1|yes", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        m_sandbox.writeFile(QStringLiteral("settings.qmxII"), QByteArray("[presets]\r\npreset2=") + c.stored + "\r\n");
        apply({{"BSP", nullptr},
               {"VIS", nullptr},
               {"RAD", nullptr},
               {"BSPfulldetail", nullptr},
               {"VISradiusoverride", nullptr},
               {"RADluxdensity", "7"},
               {"CopyFile", nullptr}});
        qmxtest::messages().clear();
        load(2);

        for (qmx::CheckBox* box : m_form->findChildren<qmx::CheckBox*>()) {
            const bool expectTicked = std::find_if(c.ticked.begin(), c.ticked.end(),
                                                   [&](const char* n) { return box->objectName() == QLatin1String(n); })
                != c.ticked.end();
            EXPECT_EQ(box->Value(), expectTicked ? 1 : 0) << box->objectName().toStdString();
        }
        EXPECT_TRUE(m_form->textBox(QStringLiteral("RADluxdensity_text"))->text().isEmpty());
        EXPECT_TRUE(m_form->textBox(QStringLiteral("RADbounce_text"))->text().isEmpty());
        ASSERT_EQ(qmxtest::messages().size(), 1u);
        EXPECT_EQ(qmxtest::messages()[0].prompt, QStringLiteral("Preset 2 loaded"));
    }
}

TEST_F(PresetsTest, MessagesKeepTheirFixedPiecesWhenTextsAreMissing)
{
    struct Case
    {
        QByteArray language;
        QString savedPrompt;
        QString loadedPrompt;
    };
    const Case cases[] = {
        {"[language]\r\npreset=Preset\r\n", QStringLiteral("Preset 1 "), QStringLiteral("Preset 1 ")},
        {"[LANGUAGE]\r\nsaved=gespeichert\r\nloaded=geladen\r\n", QStringLiteral(" 1 gespeichert"),
         QStringLiteral(" 1 geladen")},
        {"[Language]\r\npreset=\"Slot \"\r\nsaved=ok\r\nloaded=ok\r\n", QStringLiteral("Slot  1 ok"),
         QStringLiteral("Slot  1 ok")},
        {"", QStringLiteral(" 1 "), QStringLiteral(" 1 ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language.constData());
        m_sandbox.writeFile(QStringLiteral("language.qmxII"), c.language);
        qmxtest::messages().clear();
        save(1);
        load(1);
        ASSERT_EQ(qmxtest::messages().size(), 2u);
        EXPECT_EQ(qmxtest::messages()[0].prompt, c.savedPrompt);
        EXPECT_EQ(qmxtest::messages()[1].prompt, c.loadedPrompt);
    }
}

} // namespace
