#pragma once

// A fresh, shown main window per test, with helpers that read and set option controls by name.

#include "main_window/Form1.h"
#include "options/OptionCatalogue.h"
#include "toolkit/CheckBox.h"
#include "toolkit/TextBox.h"

#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

class FormFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        m_form = std::make_unique<Form1>();
        m_form->show();
    }
    void TearDown() override
    {
        m_form->compileRunning = false;
        m_form.reset();
    }

    qmx::CheckBox* box(const QString& name) const
    {
        qmx::CheckBox* b = m_form->checkBox(name);
        EXPECT_NE(b, nullptr) << name.toStdString();
        return b;
    }
    qmx::TextBox* text(const QString& name) const
    {
        qmx::TextBox* t = m_form->textBox(name);
        EXPECT_NE(t, nullptr) << name.toStdString();
        return t;
    }
    void tick(const QString& name, bool on = true) { box(name)->setValue(on ? 1 : 0); }

    // A user click: the control's page is brought to the front first, as a user would have to.
    void click(QWidget* w) const
    {
        for (int i = 0; i < m_form->SSTab1->count(); ++i) {
            if (m_form->SSTab1->widget(i)->isAncestorOf(w))
                m_form->SSTab1->setCurrentIndex(i);
        }
        QTest::mouseClick(w, Qt::LeftButton);
    }

    // What a page shows when it is off: master unticked, controls disabled, unticked, empty, grey.
    void expectPageConsistent(const qmx::PageInfo& page) const
    {
        const bool on = box(QLatin1String(page.master))->Value() == 1;
        for (const qmx::OptionEntry* entry : qmx::pageOptions(page.page)) {
            qmx::CheckBox* b = box(QLatin1String(entry->name));
            EXPECT_EQ(b->isEnabled(), on) << entry->name;
            if (!on) {
                EXPECT_EQ(b->Value(), 0) << entry->name;
            }
            if (!entry->textBoxName)
                continue;
            qmx::TextBox* t = text(QLatin1String(entry->textBoxName));
            EXPECT_EQ(t->isEnabled(), on) << entry->textBoxName;
            EXPECT_EQ(t->BackColor(), on ? qmx::kSysColorWindow : qmx::kSysColorScrollBar) << entry->textBoxName;
            if (!on) {
                EXPECT_TRUE(t->text().isEmpty()) << entry->textBoxName;
            }
        }
    }
    void expectAllPagesConsistent() const
    {
        for (const qmx::PageInfo& page : qmx::pageCatalogue())
            expectPageConsistent(page);
    }

    std::unique_ptr<Form1> m_form;
};
