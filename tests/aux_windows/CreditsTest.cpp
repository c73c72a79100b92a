// The credits window: swapping with the main window, its one-time load, its captions and closing it.

#include "aux_windows/Form3.h"
#include "main_window/Form1.h"
#include "support/AccessibleTree.h"
#include "support/Recorders.h"
#include "support/Sandbox.h"
#include "toolkit/CheckBox.h"

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
        trigger(m_form.get(), "MenuCredits");
        return m_form->creditsWindow();
    }

    void trigger(QObject* owner, const char* name)
    {
        auto* action = owner->findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(action, nullptr) << name;
        ASSERT_TRUE(action->isEnabled()) << name;
        action->trigger();
    }

    qmxtest::Sandbox m_sandbox;
    std::unique_ptr<Form1> m_form;
};

TEST_F(CreditsTest, SwapBackAndSwapAgainKeepsOneWindowItsPlaceAndItsCaptions)
{
    Form3* credits = swapToCredits("[Language]\r\nCredits=Back\r\nForm3=- Credits, Advice and other stuff\r\n");
    ASSERT_NE(credits, nullptr);
    EXPECT_EQ(credits->Label1->text().left(7), QStringLiteral("http://"));
    EXPECT_TRUE(credits->Label1->text().endsWith(QStringLiteral("/index.php?woof=downloads")));
    const QPoint moved = credits->pos() + QPoint(37, 21);
    for (int showing = 0; showing < 2; ++showing) {
        SCOPED_TRACE(showing);
        EXPECT_TRUE(credits->isVisible());
        EXPECT_FALSE(m_form->isVisible());
        EXPECT_EQ(credits->MenuBack->text(), kBack + QStringLiteral("Back"));
        EXPECT_EQ(credits->windowTitle(), QStringLiteral("QMX GUI II - Credits, Advice and other stuff"));
        trigger(credits, "MenuBack");
        EXPECT_FALSE(credits->isVisible());
        EXPECT_TRUE(m_form->isVisible());
        // Neither a new text nor a new place may reach the window on its second showing.
        m_sandbox.writeFile(QStringLiteral("language.qmxII"), "[Language]\r\nCredits=Zur\u00fcck\r\nForm3=Danke\r\n");
        credits->move(moved);
        trigger(m_form.get(), "MenuCredits");
        EXPECT_EQ(m_form->creditsWindow(), credits);
        EXPECT_EQ(credits->pos(), moved);
    }
    EXPECT_EQ(qmxtest::endProgramCount(), 0);
}

TEST_F(CreditsTest, CaptionsComeFromTheLanguageFileOrKeepTheirFixedPieces)
{
    struct Case
    {
        QByteArray language;
        QString back;
        QString title;
    } const cases[] = {
        {"[LANGUAGE]\r\ncredits=Retour\r\nform3=Merci\r\n", kBack + QStringLiteral("Retour"),
         QStringLiteral("QMX GUI II Merci")},
        {"[Language]\r\nCredits=\"  spaced  \"\r\n", kBack + QStringLiteral("  spaced  "),
         QStringLiteral("QMX GUI II ")},
        {"[other]\r\nCredits=Back\r\nForm3=Credits\r\n", kBack, QStringLiteral("QMX GUI II ")},
        {QByteArray("\xff\xfe\x00garbage\r\n=\r\n[", 16), kBack, QStringLiteral("QMX GUI II ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language.toStdString());
        Form3* credits = swapToCredits(c.language);
        ASSERT_NE(credits, nullptr);
        EXPECT_EQ(credits->MenuBack->text(), c.back);
        EXPECT_EQ(credits->windowTitle(), c.title);
        // Assistive technology reads the same texts.
        const QStringList read = qmxtest::accessibleNames(credits);
        EXPECT_TRUE(read.contains(c.back) && read.contains(c.title)) << read.join('/').toStdString();
    }
}

TEST_F(CreditsTest, ClosingTheCreditsWindowEndsTheProgramWithoutStoring)
{
    const QByteArray settings = "[settings]\r\nLastUsedSettings=1,0,0|1|0,0,0|0|0\r\n";
    m_sandbox.writeFile(QStringLiteral("settings.qmxII"), settings);
    Form3* credits = swapToCredits("[Language]\r\n");
    ASSERT_NE(credits, nullptr);
    m_form->VIS->setValue(1);
    credits->close();
    EXPECT_EQ(qmxtest::endProgramCount(), 1);
    EXPECT_EQ(m_sandbox.readFile(QStringLiteral("settings.qmxII")), settings);
    EXPECT_FALSE(m_form->isVisible());
}

} // namespace
