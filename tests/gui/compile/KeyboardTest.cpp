// The window driven from the keyboard alone: reading-order tabbing, Alt access keys and a whole compile.

#include "support/CompileFixture.h"

#include "core/options/OptionCatalogue.h"
#include "gui/toolkit/DriveList.h"

#include <QAction>
#include <QApplication>

TEST_F(CompileFixture, TabOrderFollowsTheReadingOrder)
{
    QStringList expected
        = {"Drive1", "Dir1", "File1", "Drive2", "Dir2", "CopyFile", "RunMap", "GameCommand", "BSP", "VIS", "RAD"};
    for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) // pages and rows in reading order
        expected << entry.name << entry.textBoxName;
    expected.removeAll(QString()); // options without a value box
    QStringList seen = {"Drive1"};
    for (QWidget* w = m_form->Drive1->nextInFocusChain(); w != m_form->Drive1; w = w->nextInFocusChain())
        if (expected.contains(w->objectName()) && !seen.contains(w->objectName()))
            seen << w->objectName();
    EXPECT_EQ(seen, expected);
}

TEST_F(CompileFixture, AWholeCompileFromTheKeyboardWithAltAccessKeys)
{
    m_form->Dir1->setPath(win(m_mapDir));
    QApplication::setActiveWindow(m_form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    // The access key follows the caption; nothing picked yet, so the command gives its "no map" message.
    m_form->MenuCompile->setText("Build");
    m_form->updateAccessKeys();
    QTest::keyClick(m_form.get(), Qt::Key_B, Qt::AltModifier);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, Module1::LanguageText("nomap"));

    m_form->Drive1->setFocus();
    for (QWidget* target : std::initializer_list<QWidget*>{m_form->File1, m_form->BSP, m_form->RAD}) {
        for (int i = 0; i < 8 && QApplication::focusWidget() != target; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), target) << target->objectName().toStdString();
        QTest::keyClick(target, Qt::Key_Space);
        if (target == m_form->File1 && m_form->File1->FileName().isEmpty()) // no current row yet
            QTest::keyClick(target, Qt::Key_Down);
    }
    QTest::keyClick(m_form.get(), Qt::Key_F9);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_form->compiling(); }, 60000));
    ASSERT_EQ(messages().size(), 2u) << "F9 did not compile";
    EXPECT_EQ(messages()[1].style, 64);
    EXPECT_EQ(batchBytes().count("a.vmf\"\r\n"), 2); // BSP and RAD lines
}
