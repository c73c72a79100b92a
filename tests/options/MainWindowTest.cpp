#include "options/OptionString.h"

#include "FormFixture.h"
#include "support/Recorders.h"
#include "support/Sandbox.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>

namespace {

class MainWindowTest : public FormFixture
{
protected:
    QPoint centreOnPage(QWidget* w) const { return w->mapTo(m_form->SSTab1, w->rect().center()); }
};

TEST_F(MainWindowTest, EveryCatalogueControlIsOnItsPageInItsRow)
{
    for (const qmx::PageInfo& page : qmx::pageCatalogue()) {
        SCOPED_TRACE(page.master);
        m_form->SSTab1->setCurrentIndex(static_cast<int>(page.page));
        QWidget* pageWidget = m_form->SSTab1->widget(static_cast<int>(page.page));
        int lastRow = 0, lastY = -1, lastRight = -1;
        for (const qmx::OptionEntry* entry : qmx::pageOptions(page.page)) {
            qmx::CheckBox* b = box(entry->name);
            ASSERT_TRUE(b);
            EXPECT_EQ(b->objectName(), entry->name);
            EXPECT_EQ(b->text(), entry->caption);
            EXPECT_EQ(b->accessibleName(), entry->caption);
            EXPECT_TRUE(pageWidget->isAncestorOf(b)) << entry->name;
            const QPoint c = centreOnPage(b);
            if (entry->row != lastRow) {
                EXPECT_GT(c.y(), lastY) << entry->name << " starts a lower row";
                lastRow = entry->row;
                lastRight = -1;
            } else {
                EXPECT_EQ(c.y(), lastY) << entry->name << " shares its row";
                EXPECT_GT(c.x(), lastRight) << entry->name << " is right of its neighbour";
            }
            lastY = c.y();
            lastRight = b->mapTo(m_form->SSTab1, QPoint(b->width(), 0)).x();
            if (entry->textBoxName) {
                qmx::TextBox* t = text(entry->textBoxName);
                ASSERT_TRUE(t);
                EXPECT_EQ(t->accessibleName(), QString(entry->caption) + " value");
                EXPECT_NEAR(centreOnPage(t).y(), c.y(), 3) << entry->textBoxName;
                EXPECT_GE(t->mapTo(m_form->SSTab1, QPoint(0, 0)).x(), lastRight) << entry->textBoxName;
                lastRight = t->mapTo(m_form->SSTab1, QPoint(t->width(), 0)).x();
            }
        }
    }
    EXPECT_EQ(m_form->SSTab1->count(), 3);
    EXPECT_EQ(m_form->SSTab1->tabText(2), "RAD-");
    EXPECT_EQ(m_form->findChildren<qmx::CheckBox*>().size(), 18 + 3 + 13 + 3 + 1);
    EXPECT_EQ(m_form->findChildren<qmx::TextBox*>().size(), 6);
}

TEST_F(MainWindowTest, MenuBarOrderNamesAndCaptions)
{
    QStringList top;
    for (QAction* a : m_form->menuBar()->actions())
        top << a->objectName() + "=" + a->text();
    EXPECT_EQ(top, QStringList({"MenuCompile=Compile", "presets=Preset", "MenuCredits=!", "MenuHelp=?"}));
    QStringList sub;
    for (QMenu* menu : {m_form->presets, m_form->presetload, m_form->presetsave})
        for (QAction* a : menu->actions())
            sub << a->objectName() + "=" + a->text();
    EXPECT_EQ(sub,
              QStringList({"presetload=Load", "presetsave=Save", "loadpreset1=Preset 1", "loadpreset2=Preset 2",
                           "loadpreset3=Preset 3", "loadpreset4=Preset 4", "savepreset1=Preset 1",
                           "savepreset2=Preset 2", "savepreset3=Preset 3", "savepreset4=Preset 4"}));
}

TEST_F(MainWindowTest, NoCommandAndNoClosingWhileACompileRuns)
{
    qmxtest::Sandbox sandbox;
    Module1::RestoreOptionString("1,0,0|1|0|0|1");
    const QString before = Module1::StoredOptionString();
    m_form->compileRunning = true;
    for (QAction* action : m_form->findChildren<QAction*>())
        action->trigger();
    EXPECT_TRUE(m_form->close() == false);
    EXPECT_TRUE(qmxtest::messages().empty());
    EXPECT_EQ(qmxtest::endProgramCount(), 0);
    EXPECT_EQ(Module1::StoredOptionString(), before);
    EXPECT_TRUE(m_form->isVisible());
}

TEST_F(MainWindowTest, ClosingRunsTheUnload)
{
    qmxtest::Sandbox sandbox;
    EXPECT_TRUE(m_form->close());
    EXPECT_EQ(qmxtest::endProgramCount(), 1);
}

TEST_F(MainWindowTest, OneMainWindowAtATime)
{
    EXPECT_EQ(Module1::MainWindow(), m_form.get());
    m_form.reset();
    EXPECT_EQ(Module1::MainWindow(), nullptr);
    Module1::RestoreOptionString("1,1,1|1|1|1|1"); // no window: nothing to do, no crash
    m_form = std::make_unique<Form1>();
    EXPECT_EQ(Module1::MainWindow(), m_form.get());
}

TEST_F(MainWindowTest, CheckBoxClickRunsOncePerChangeAndAfterIt)
{
    qmx::CheckBox* b = m_form->CopyFile;
    QList<int> seen;
    QObject::connect(b, &qmx::CheckBox::Click, [&] { seen << b->Value(); });
    b->setValue(1);
    b->setValue(1);
    b->setValue(0);
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(seen, QList<int>({1, 0, 1}));
}

TEST_F(MainWindowTest, TextBoxRefusesSeparatorsTypedPastedOrSet)
{
    tick("RAD");
    qmx::TextBox* t = text("RADbounce_text");
    t->setFocus();
    QTest::keyClicks(t, "1,2|3");
    EXPECT_EQ(t->text(), "123");
    QGuiApplication::clipboard()->setText("a|b,c");
    t->paste();
    EXPECT_EQ(t->text(), "123abc");
    t->setText("x,y\nz");
    EXPECT_EQ(t->text(), "xyz");
}

} // namespace
