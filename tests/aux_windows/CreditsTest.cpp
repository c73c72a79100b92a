// The credits window: swapping with the main window, its one-time load, the download address and
// closing it.

#include "FakeProgram.h"
#include "aux_windows/Form3.h"
#include "main_window/Form1.h"
#include "support/Recorders.h"
#include "support/Sandbox.h"
#include "toolkit/CheckBox.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kBack = QStringLiteral("\u00ab\u00ab ");

class CreditsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        writeLanguage("[Language]\r\nCredits=Back\r\nForm3=- Credits, Advice and other stuff\r\n");
        m_form = std::make_unique<Form1>();
        m_form->show();
    }

    void writeLanguage(const QByteArray& bytes) { m_sandbox.writeFile(QStringLiteral("language.qmxII"), bytes); }

    void trigger(QObject* owner, const char* name)
    {
        auto* action = owner->findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(action, nullptr) << name;
        ASSERT_TRUE(action->isEnabled()) << name;
        action->trigger();
    }

    Form3* swapToCredits()
    {
        trigger(m_form.get(), "MenuCredits");
        return Form3::Existing();
    }

    qmxtest::Sandbox m_sandbox;
    std::unique_ptr<Form1> m_form;
};

TEST_F(CreditsTest, SwapBackAndSwapAgainKeepsOneWindowItsPlaceAndItsCaptions)
{
    Form3* credits = swapToCredits();
    ASSERT_NE(credits, nullptr);
    EXPECT_TRUE(credits->isVisible());
    EXPECT_FALSE(m_form->isVisible());
    EXPECT_EQ(credits->MenuBack->text(), kBack + QStringLiteral("Back"));
    EXPECT_EQ(credits->windowTitle(), QStringLiteral("QMX GUI II - Credits, Advice and other stuff"));

    trigger(credits, "MenuBack");
    EXPECT_FALSE(credits->isVisible());
    EXPECT_TRUE(m_form->isVisible());

    // Neither a new text nor a new place may reach the window on its second showing.
    writeLanguage("[Language]\r\nCredits=Zur\u00fcck\r\nForm3=Danke\r\n");
    const QPoint moved = credits->pos() + QPoint(37, 21);
    credits->move(moved);
    EXPECT_EQ(swapToCredits(), credits);
    EXPECT_TRUE(credits->isVisible());
    EXPECT_FALSE(m_form->isVisible());
    EXPECT_EQ(credits->pos(), moved);
    EXPECT_EQ(credits->MenuBack->text(), kBack + QStringLiteral("Back"));
    EXPECT_EQ(credits->windowTitle(), QStringLiteral("QMX GUI II - Credits, Advice and other stuff"));

    trigger(credits, "MenuBack");
    EXPECT_TRUE(m_form->isVisible());
    EXPECT_EQ(qmxtest::endProgramCount(), 0);
}

TEST_F(CreditsTest, CaptionsComeFromTheLanguageFileOrKeepTheirFixedPieces)
{
    struct Case
    {
        QByteArray language;
        QString back;
        QString title;
    };
    const Case cases[] = {
        {"[LANGUAGE]\r\ncredits=Retour\r\nform3=Merci\r\n", kBack + QStringLiteral("Retour"),
         QStringLiteral("QMX GUI II Merci")},
        {"[Language]\r\nCredits=\"  spaced  \"\r\n", kBack + QStringLiteral("  spaced  "),
         QStringLiteral("QMX GUI II ")},
        {"[Language]\r\nForm3=\r\n", kBack, QStringLiteral("QMX GUI II ")},
        {"[other]\r\nCredits=Back\r\nForm3=Credits\r\n", kBack, QStringLiteral("QMX GUI II ")},
        {QByteArray(), kBack, QStringLiteral("QMX GUI II ")},
        {QByteArray("\xff\xfe\x00garbage\r\n=\r\n[", 16), kBack, QStringLiteral("QMX GUI II ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language.toStdString());
        // A fresh main window each time, so the credits window loads again.
        m_form.reset();
        ASSERT_EQ(Form3::Existing(), nullptr);
        writeLanguage(c.language);
        m_form = std::make_unique<Form1>();
        m_form->show();
        Form3* credits = swapToCredits();
        ASSERT_NE(credits, nullptr);
        EXPECT_EQ(credits->MenuBack->text(), c.back);
        EXPECT_EQ(credits->windowTitle(), c.title);
    }
}

TEST_F(CreditsTest, FirstShowingCentresTheWindowKeepingItsSize)
{
    Form3 probe;
    const QSize designSize = probe.size();
    Form3* credits = swapToCredits();
    ASSERT_NE(credits, nullptr);
    EXPECT_EQ(credits->size(), designSize);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = credits->frameGeometry();
    EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 1);
}

TEST_F(CreditsTest, ShowsThePictureAndTheDownloadAddress)
{
    Form3* credits = swapToCredits();
    ASSERT_NE(credits, nullptr);
    const QPixmap picture = credits->Picture1->pixmap();
    EXPECT_EQ(picture.size(), QSize(505, 319));

    const QString address = credits->Label1->text();
    EXPECT_EQ(address, Form3::DownloadAddress());
    EXPECT_TRUE(address.startsWith(QStringLiteral("http://")));
    EXPECT_TRUE(address.endsWith(QStringLiteral("/index.php?woof=downloads")));
    const QString host = address.mid(7, address.size() - 7 - 25);
    EXPECT_FALSE(host.isEmpty());
    EXPECT_FALSE(host.contains(QLatin1Char('/')) || host.contains(QLatin1Char(' '))) << host.toStdString();
}

TEST_F(CreditsTest, ClickingTheAddressOpensItInTheBrowser)
{
    qmxtest::FakeProgram browser(m_sandbox.makeDir(QStringLiteral("bin")), QStringLiteral("xdg-open"));
    Form3* credits = swapToCredits();
    ASSERT_NE(credits, nullptr);
    QTest::mouseClick(credits->Label1, Qt::LeftButton);
    EXPECT_EQ(browser.waitForArguments(), QStringList{Form3::DownloadAddress()});
    EXPECT_TRUE(credits->isVisible());
    EXPECT_TRUE(qmxtest::messages().empty());
}

TEST_F(CreditsTest, ClosingTheCreditsWindowEndsTheProgramWithoutStoring)
{
    const QByteArray settings = "[settings]\r\nLastUsedSettings=1,0,0|1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|"
                                "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0\r\n";
    m_sandbox.writeFile(QStringLiteral("settings.qmxII"), settings);
    m_form->VIS->setValue(1);
    m_form->CopyFile->setValue(1);
    Form3* credits = swapToCredits();
    ASSERT_NE(credits, nullptr);

    credits->close();
    EXPECT_EQ(qmxtest::endProgramCount(), 1);
    EXPECT_EQ(m_sandbox.readFile(QStringLiteral("settings.qmxII")), settings);
    EXPECT_FALSE(m_form->isVisible());
}

} // namespace
