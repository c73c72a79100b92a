// The game through the window: Ctrl+F9 on the map already in the game directory, a window that stays usable
// while the game runs, and the settings the game dialog keeps. The checks themselves are the game run's
// (tests/core); the game after a compile, the compile test's.

#include "support/CompileFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

// Drives the first window of that name that opens, from inside its modal loop.
void whenOpen(const char* name, std::function<void(QWidget*)> drive)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [=] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QLatin1String(name) && window->isVisible()) {
                poll->deleteLater();
                poll->stop();
                drive(window);
                return;
            }
        }
    });
    poll->start(10);
}

using GameTest = CompileFixture;

} // namespace

// Ctrl+F9 says why it cannot start the game, or starts it without compiling; while it runs, a whole compile goes
// through. (The other refusals, in their order: the game run's test.)
TEST_F(GameTest, CtrlF9RunsTheMapInTheGameDirectoryOrSaysWhyNot)
{
    QApplication::setActiveWindow(m_form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    QTest::keyClick(m_form.get(), Qt::Key_F9, Qt::ControlModifier);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, languageKey("nomap"));
    EXPECT_EQ(messages()[0].style, 64);

    pickMap();
    writeHost(m_gameDir + "/a.bsp", "compiled");
    writeHost(m_gameHold + "/hold", "");
    qmxtest::resetRecorders();
    QTest::keyClick(m_form.get(), Qt::Key_F9, Qt::ControlModifier);
    EXPECT_TRUE(status().startsWith(qmx::languageText(qmx::config::Text::GameStarted))) << status().toStdString();
    EXPECT_EQ(gameRun(), m_gameOnTheMap);
    tick("BSP");
    QTest::keyClick(m_form.get(), Qt::Key_F9);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_form->compiling(); }, 60000));
    ASSERT_EQ(messages().size(), 1u) << "F9 did not compile while the game ran";
    EXPECT_EQ(messages()[0].style, 64);
}

// The dialog stores the browsed executable and the template exactly on OK and nothing on Cancel.
TEST_F(GameTest, GameSettingsAreStoredFromTheDialog)
{
    writeHost(QFileInfo(m_gameExe).path() + "/readme.txt", "not a program");
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        ASSERT_TRUE(qmx::game::writeGameCommand("", "-novid"));
        const QByteArray before = m_sandbox.readFile("settings.qmxII");
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
        EXPECT_EQ(ok ? QString::fromStdString(stored.executable) + "|" + QString::fromStdString(stored.parameters)
                     : QString(m_sandbox.readFile("settings.qmxII")),
                  ok ? win(m_gameExe) + "|" : QString(before));
    }
}
