// The settings the game dialog keeps. (The game after a compile: the compile test's; Ctrl+F9: the window's
// keyboard test.)

#include "support/CompileFixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

// Drives the window of that name once its modal loop runs (it is shown before the loop starts).
void whenOpen(const char* name, std::function<void(QWidget*)> drive)
{
    QTimer::singleShot(0, [=] {
        QWidget* window = topLevel(name);
        ASSERT_TRUE(window && window->isVisible()) << name;
        drive(window);
    });
}

using GameTest = CompileFixture;

} // namespace

// The dialog stores the browsed executable and the template exactly on OK and nothing on Cancel.
TEST_F(GameTest, GameSettingsAreStoredFromTheDialog)
{
    writeHost(QFileInfo(m_gameExe).path() + "/readme.txt", "not a program");
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        ASSERT_TRUE(qmx::game::writeGameCommand("", "-novid"));
        whenOpen("GameDialog", [&](QWidget* dialog) {
            EXPECT_EQ(child<QLineEdit>(dialog, "GameParameters")->text(), "-novid");
            whenOpen("ExeChooser", [&](QWidget* chooser) {
                // It opens in the game directory and lists programs only.
                auto* dir = child<qmx::DirList>(chooser, "ExeDir");
                auto* list = child<qmx::FileList>(chooser, "ExeFile");
                EXPECT_EQ(dir->Path(), win(m_gameDir));
                dir->setPath(win(QFileInfo(m_gameExe).path()));
                ASSERT_EQ(list->count(), 1);
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
                QTest::mouseClick(child<QPushButton>(chooser, "ExeOK"), Qt::LeftButton);
            });
            QTest::mouseClick(child<QPushButton>(dialog, "GameBrowse"), Qt::LeftButton);
            child<QLineEdit>(dialog, "GameParameters")->clear(); // an empty template is a choice, kept as such
            QTest::mouseClick(child<QPushButton>(dialog, ok ? "GameOK" : "GameCancel"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(m_form.get(), "GameCommand"), Qt::LeftButton);
        const qmx::game::GameSettings stored = qmx::game::readGameSettings();
        EXPECT_EQ(QString::fromStdString(stored.executable + "|" + stored.parameters),
                  ok ? win(m_gameExe) + "|" : "|-novid");
    }
}
