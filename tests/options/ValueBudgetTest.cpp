// The six value texts share what the settings file can give back, so a stored option set always
// restores whole, even when the user fills every box.

#include "options/FormFixture.h"

#include "options/OptionString.h"
#include "storage/IniFile.h"
#include "support/Sandbox.h"

#include <QTest>

namespace {
const char* const kValueBoxes[] = {"BSPblocks_text", "BSPluxelscale_text", "RADlights_text",
                                   "RADbounce_text", "RADluxdensity_text", "RADmaxdispsamplesize_text"};
} // namespace

TEST_F(FormFixture, FullValueBoxesStillFitTheSettingsFile)
{
    qmxtest::Sandbox sandbox;
    for (const char* master : {"BSP", "VIS", "RAD"})
        tick(master);
    for (const qmx::OptionEntry& entry : qmx::optionCatalogue())
        tick(QString::fromLatin1(entry.name));
    // The user types as much as each box takes, box after box.
    for (const char* name : kValueBoxes) {
        qmx::TextBox* t = text(name);
        QTest::keyClicks(t, QString(300, QLatin1Char('7')));
    }
    const QString stored = Module1::StoredOptionString();
    EXPECT_EQ(stored.size(), static_cast<int>(qmx::ini::kMaxValueBytes));

    // Written, read back through the settings file and restored: every text comes back whole.
    const std::string file = sandbox.settingsFile().toStdString();
    ASSERT_TRUE(qmx::ini::writeValue(file, "settings", "LastUsedSettings", stored.toStdString()));
    const QString read = QString::fromStdString(qmx::ini::readValue(file, "settings", "LastUsedSettings"));
    QStringList before;
    for (const char* name : kValueBoxes)
        before << text(name)->text();
    Module1::RestoreOptionString(read);
    QStringList after;
    for (const char* name : kValueBoxes)
        after << text(name)->text();
    EXPECT_EQ(after, before);
    EXPECT_EQ(Module1::StoredOptionString(), stored);
}

TEST_F(FormFixture, EmptyingOneBoxGivesItsRoomToTheOthers)
{
    tick("BSP");
    tick("RAD");
    QTest::keyClicks(text("BSPblocks_text"), QString(200, QLatin1Char('1')));
    EXPECT_EQ(text("BSPblocks_text")->text().size(), 173);
    EXPECT_EQ(text("RADbounce_text")->maxLength(), 0);
    text("BSPblocks_text")->clear();
    QTest::keyClicks(text("RADbounce_text"), QStringLiteral("8"));
    EXPECT_EQ(text("RADbounce_text")->text(), QStringLiteral("8"));
}
