// The window driven from the keyboard alone: reading-order tabbing, and a whole compile.

#include "compile/CompileFixture.h"

#include "options/OptionCatalogue.h"
#include "storage/qt/Module1Ini.h"
#include "toolkit/CheckBox.h"
#include "toolkit/DirList.h"
#include "toolkit/DriveList.h"
#include "toolkit/FileList.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTabWidget>
#include <QTest>

using qmxtest::messages;

namespace {

// Object names along the focus chain from `start`, keeping only those in `wanted`.
QStringList focusOrder(QWidget* start, const QStringList& wanted)
{
    QStringList seen;
    QWidget* w = start;
    do {
        if (wanted.contains(w->objectName()) && !seen.contains(w->objectName()))
            seen << w->objectName();
        w = w->nextInFocusChain();
    } while (w != start);
    return seen;
}

} // namespace

TEST_F(CompileFixture, TabOrderFollowsTheReadingOrder)
{
    QStringList expected = {"Drive1", "Dir1", "File1", "Drive2", "Dir2", "CopyFile", "BSP", "VIS", "RAD"};
    for (qmx::Page page : {qmx::Page::Bsp, qmx::Page::Vis, qmx::Page::Rad}) {
        for (const qmx::OptionEntry* entry : qmx::pageOptions(page)) {
            expected << QString::fromLatin1(entry->name);
            if (entry->textBoxName)
                expected << QString::fromLatin1(entry->textBoxName);
        }
    }
    EXPECT_EQ(focusOrder(m_form->Drive1, expected), expected);
}

TEST_F(CompileFixture, AWholeCompileFromTheKeyboard)
{
    m_form->Dir1->setPath(win(m_mapDir));
    QApplication::setActiveWindow(m_form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));

    m_form->Drive1->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // Dir1
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // File1
    ASSERT_EQ(QApplication::focusWidget(), m_form->File1);
    QTest::keyClick(m_form->File1, Qt::Key_Space); // select the current row
    if (m_form->File1->FileName().isEmpty())
        QTest::keyClick(m_form->File1, Qt::Key_Down);
    ASSERT_EQ(m_form->File1->FileName(), QStringLiteral("a.vmf"));
    EXPECT_EQ(Module1::ReadIniValue(Module1::SettingsFile(), "settings", "LastFile"), QStringLiteral("a.vmf"));

    for (int i = 0; i < 4 && QApplication::focusWidget() != m_form->BSP; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), m_form->BSP);
    QTest::keyClick(m_form->BSP, Qt::Key_Space);
    ASSERT_EQ(m_form->BSP->Value(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // VIS
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // RAD
    ASSERT_EQ(QApplication::focusWidget(), m_form->RAD);
    QTest::keyClick(m_form->RAD, Qt::Key_Space);

    QTest::keyClick(m_form.get(), Qt::Key_F9);
    ASSERT_FALSE(messages().empty()) << "F9 did not compile";
    EXPECT_EQ(messages().back().style, 64);
    const QByteArray batch = batchBytes();
    EXPECT_EQ(batch.count("\r\n"), 2); // BSP and RAD lines
    EXPECT_TRUE(batch.contains("a.vmf\""));
}

TEST_F(CompileFixture, AltAccessKeyFollowsTheCompileCaption)
{
    m_form->Dir1->setPath(win(m_mapDir));
    m_form->MenuCompile->setText(QStringLiteral("Build"));
    m_form->updateAccessKeys();
    QApplication::setActiveWindow(m_form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    QTest::keyClick(m_form.get(), Qt::Key_B, Qt::AltModifier);
    // Nothing picked yet: the compile command answers with its "no map" message.
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, Module1::LanguageText("nomap"));
}
