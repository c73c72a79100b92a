// The credits window: swapping with the main window, its one-time load, its captions and closing it.

#include "gui/toolkit/CheckBox.h"
#include "gui/windows/Form1.h"
#include "gui/windows/Form3.h"
#include "support/AccessibleTree.h"
#include "support/Recorders.h"
#include "support/Sandbox.h"

#include <QAction>
#include <QLabel>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kBack = QStringLiteral("\u00ab\u00ab ");

class CreditsTest : public testing::Test
{
protected:
    // A fresh main window over the given language file, swapped to the credits window.
    Form3* swapToCredits(const QByteArray& language)
    {
        m_form.reset();
        m_sandbox.writeFile(QStringLiteral("language.qmxII"), language);
        m_form = std::make_unique<Form1>();
        m_form->show();
        m_form->MenuCredits->trigger();
        return m_form->creditsWindow();
    }

    qmxtest::Sandbox m_sandbox;
    std::unique_ptr<Form1> m_form;
};

// Swapped back and again: one window, its place and its first captions kept. Closing it ends the program
// without storing the options.
TEST_F(CreditsTest, SwapBackAndAgainKeepsOneWindowThenClosingEndsWithoutStoring)
{
    const QByteArray settings = "[settings]\r\nLastUsedSettings=1,0,0|1|0,0,0|0|0\r\n";
    m_sandbox.writeFile(QStringLiteral("settings.qmxII"), settings);
    Form3* credits = swapToCredits("[Language]\r\nCredits=Back\r\nForm3=- Credits, Advice and other stuff\r\n");
    ASSERT_NE(credits, nullptr);
    EXPECT_EQ(credits->Label1->text().left(7), QStringLiteral("http://"));
    EXPECT_TRUE(credits->Label1->text().endsWith(QStringLiteral("/index.php?woof=downloads")));
    const QPoint moved = credits->pos() + QPoint(37, 21);
    for (int showing = 0; showing < 2; ++showing) {
        SCOPED_TRACE(showing);
        EXPECT_TRUE(credits->isVisible() && !m_form->isVisible());
        EXPECT_EQ(credits->MenuBack->text(), kBack + QStringLiteral("Back"));
        EXPECT_EQ(credits->windowTitle(), QStringLiteral("QMX GUI II - Credits, Advice and other stuff"));
        ASSERT_TRUE(credits->MenuBack->isEnabled());
        credits->MenuBack->trigger();
        EXPECT_TRUE(!credits->isVisible() && m_form->isVisible());
        // Neither a new text nor a new place may reach the window on its second showing.
        m_sandbox.writeFile(QStringLiteral("language.qmxII"), "[Language]\r\nCredits=Zur\u00fcck\r\nForm3=Danke\r\n");
        credits->move(moved);
        m_form->MenuCredits->trigger();
        EXPECT_EQ(m_form->creditsWindow(), credits);
        EXPECT_EQ(credits->pos(), moved);
    }
    EXPECT_EQ(qmxtest::endProgramCount(), 0);
    m_form->VIS->setValue(1);
    credits->close();
    EXPECT_EQ(qmxtest::endProgramCount(), 1);
    EXPECT_EQ(m_sandbox.readFile(QStringLiteral("settings.qmxII")), settings);
    EXPECT_FALSE(m_form->isVisible());
}

TEST_F(CreditsTest, CaptionsComeFromTheLanguageFileOrKeepTheirFixedPieces)
{
    const std::tuple<QByteArray, QString, QString> cases[] = {
        // language file, the back menu's caption, the window title
        {"[LANGUAGE]\r\ncredits=Retour\r\nform3=Merci\r\n", kBack + "Retour", "QMX GUI II Merci"},
        {"[Language]\r\nCredits=\"  spaced  \"\r\n", kBack + "  spaced  ", "QMX GUI II "},
        {QByteArray("\xff\xfe\x00garbage\r\n=\r\n[", 16), kBack, "QMX GUI II "},
    };
    for (const auto& [language, back, title] : cases) {
        SCOPED_TRACE(language.toStdString());
        Form3* credits = swapToCredits(language);
        ASSERT_NE(credits, nullptr);
        EXPECT_EQ(credits->MenuBack->text(), back);
        EXPECT_EQ(credits->windowTitle(), title);
        const QStringList read = qmxtest::accessibleNames(credits); // assistive technology reads the same
        EXPECT_TRUE(read.contains(back) && read.contains(title)) << read.join('/').toStdString();
    }
}

} // namespace
