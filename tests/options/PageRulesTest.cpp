#include "options/PageRules.h"
#include "options/OptionString.h"

#include "FormFixture.h"

namespace {

class PageRulesTest : public FormFixture
{
protected:
    // Ticks a master and every option of its page, with a text in each value box.
    void fillPage(const qmx::PageInfo& page)
    {
        tick(page.master);
        for (const qmx::OptionEntry* entry : qmx::pageOptions(page.page)) {
            tick(entry->name);
            if (entry->textBoxName)
                text(entry->textBoxName)->setText("5");
        }
    }
};

TEST_F(PageRulesTest, ClickingAMasterOffClearsItsPageOnlyAndOnGivesItBackEmpty)
{
    for (const qmx::PageInfo& page : qmx::pageCatalogue()) {
        SCOPED_TRACE(page.master);
        for (const qmx::PageInfo& other : qmx::pageCatalogue())
            fillPage(other);
        click(box(page.master));
        ASSERT_EQ(box(page.master)->Value(), 0);
        expectAllPagesConsistent();
        for (const qmx::PageInfo& other : qmx::pageCatalogue()) {
            if (other.page != page.page) {
                EXPECT_EQ(box(qmx::pageOptions(other.page).front()->name)->Value(), 1) << other.master;
            }
        }
        EXPECT_EQ(m_form->CopyFile->isEnabled(), true);

        click(box(page.master));
        expectAllPagesConsistent();
        for (const qmx::OptionEntry* entry : qmx::pageOptions(page.page)) {
            EXPECT_EQ(box(entry->name)->Value(), 0) << entry->name;
            if (entry->textBoxName) {
                EXPECT_EQ(text(entry->textBoxName)->text(), "") << entry->textBoxName;
            }
        }
    }
}

TEST_F(PageRulesTest, ValueOptionsForgetTheirTextWhenUnticked)
{
    for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
        if (!entry.textBoxName)
            continue;
        SCOPED_TRACE(entry.name);
        fillPage(qmx::pageInfo(entry.page));
        click(box(entry.name));
        EXPECT_EQ(box(entry.name)->Value(), 0);
        EXPECT_EQ(text(entry.textBoxName)->text(), "");
        click(box(entry.name));
        EXPECT_EQ(text(entry.textBoxName)->text(), "");
        EXPECT_TRUE(text(entry.textBoxName)->isEnabled());
    }
}

TEST_F(PageRulesTest, ClickingIntoAValueBoxTicksItsOptionButTypingDoesNot)
{
    tick("BSP");
    tick("RAD");
    for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
        if (!entry.textBoxName)
            continue;
        SCOPED_TRACE(entry.name);
        qmx::TextBox* t = text(entry.textBoxName);
        t->setFocus();
        QTest::keyClicks(t, "12");
        EXPECT_EQ(box(entry.name)->Value(), 0);
        click(t);
        EXPECT_EQ(box(entry.name)->Value(), 1);
        EXPECT_EQ(t->text(), "12");
    }
}

TEST_F(PageRulesTest, TheTwoFastBoxesAreIndependent)
{
    tick("VIS");
    tick("RAD");
    click(box("VISfast"));
    EXPECT_EQ(box("VISfast")->Value(), 1);
    EXPECT_EQ(box("RADfast")->Value(), 0);
    click(box("RADfast"));
    click(box("VISfast"));
    EXPECT_EQ(box("RADfast")->Value(), 1);
    EXPECT_EQ(box("VISfast")->Value(), 0);
}

} // namespace
