// The classic controls' own behaviour: picks in the file list, navigation in the directory list, and message
// boxes that show their text as it is. (A value box's refused characters: tests/options.)

#include "core/os/Os.h"
#include "support/Sandbox.h"
#include "toolkit/DirList.h"
#include "toolkit/FileList.h"
#include "toolkit/MessageBox.h"

#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString windowsForm(const QString& host)
{
    return QString::fromStdString(qmx::os::toWindowsPath(host.toStdString()));
}

QPoint rowCentre(const QListWidget& list, int row)
{
    return list.visualItemRect(list.item(row)).center();
}

// Every way a map gets picked raises Click exactly once, with the picked name in FileName.
TEST(FileList, EveryPickRaisesClickOnce)
{
    qmxtest::Sandbox sandbox;
    const QString dir = sandbox.makeDir(QStringLiteral("maps \u00e4"));
    for (const char* name : {"a.vmf", "b.vmf", "c.vmf"})
        QFile(dir + QLatin1Char('/') + QLatin1String(name)).open(QIODevice::WriteOnly);
    qmx::FileList list(QStringLiteral("File1"));
    list.setPattern(QStringLiteral("*.vmf"));
    list.setPath(windowsForm(dir));
    list.resize(200, 200);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QSignalSpy clicks(&list, &qmx::FileList::Click);
    QWidget* view = list.viewport();

    struct Step
    {
        const char* what;
        std::function<void()> act;
        const char* picked;
        int clicks;
    } const steps[] = {
        {"click a row", [&] { QTest::mouseClick(view, Qt::LeftButton, {}, rowCentre(list, 0)); }, "a.vmf", 1},
        {"click the selected row again", [&] { QTest::mouseClick(view, Qt::LeftButton, {}, rowCentre(list, 0)); },
         "a.vmf", 1},
        {"press on one row, release on another",
         [&] {
             QTest::mousePress(view, Qt::LeftButton, {}, rowCentre(list, 0));
             QTest::mouseMove(view, rowCentre(list, 1));
             QTest::mouseMove(view, rowCentre(list, 2));
             QTest::mouseRelease(view, Qt::LeftButton, {}, rowCentre(list, 2));
         },
         "c.vmf", 1},
        {"the keyboard", [&] { QTest::keyClick(&list, Qt::Key_Up); }, "b.vmf", 1},
        {"code", [&] { list.setCurrentRow(0); }, "a.vmf", 1},
        {"a refill picks nothing", [&] { list.refresh(); }, "", 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        clicks.clear();
        step.act();
        EXPECT_EQ(list.FileName(), QString::fromLatin1(step.picked));
        EXPECT_EQ(clicks.count(), step.clicks);
    }
}

// Double-click and Enter open a row, a subdirectory or an ancestor; Change follows each opening.
TEST(DirList, DoubleClickAndEnterOpenRows)
{
    qmxtest::Sandbox sandbox;
    const QString root = sandbox.makeDir(QStringLiteral("tree"));
    QDir().mkpath(root + QStringLiteral("/maps \u00e4/work"));
    QDir().mkpath(root + QStringLiteral("/props"));
    qmx::DirList list(QStringLiteral("Dir1"));
    list.setPath(windowsForm(root));
    list.resize(300, 400);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QSignalSpy changes(&list, &qmx::DirList::Change);
    const QString top = list.Path();
    const auto rowOf = [&list](const QString& text) {
        const QList<QListWidgetItem*> found = list.findItems(text, Qt::MatchExactly);
        return found.isEmpty() ? -1 : list.row(found.first());
    };

    struct Step
    {
        const char* what;
        std::function<void()> act;
        QString path;
    } const steps[] = {
        {"double-click a subdirectory",
         [&] { QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, rowCentre(list, rowOf("maps \u00e4"))); },
         top + QStringLiteral("\\maps \u00e4")},
        {"Enter on a subdirectory",
         [&] {
             list.setCurrentRow(rowOf("work"));
             QTest::keyClick(&list, Qt::Key_Return);
         },
         top + QStringLiteral("\\maps \u00e4\\work")},
        {"double-click an ancestor",
         [&] { QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, rowCentre(list, rowOf("tree"))); }, top},
        {"Enter on the open directory itself",
         [&] {
             list.setCurrentRow(list.ancestorCount() - 1);
             QTest::keyClick(&list, Qt::Key_Enter);
         },
         top},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        changes.clear();
        step.act();
        EXPECT_EQ(list.Path(), step.path);
        EXPECT_EQ(changes.count(), 1);
    }
}

// Prompts are shown as they stand: a language text with "<b>" or "<again>" is not markup.
TEST(MessageBox, PromptIsPlainTextWithTheStylesIcon)
{
    const std::tuple<int, QMessageBox::Icon, const char*> cases[] = {
        {0, QMessageBox::NoIcon, "qmxgui is running <again>"},
        {16, QMessageBox::Critical, "<b>bold</b> &amp;"},
        {64, QMessageBox::Information, "plain"},
    };
    for (const auto& [style, icon, prompt] : cases) {
        SCOPED_TRACE(prompt);
        const auto box = qmx::MakeMessageBox(QString::fromLatin1(prompt), style);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->text(), QString::fromLatin1(prompt));
        EXPECT_EQ(box->icon(), icon);
        EXPECT_EQ(box->windowTitle(), qmx::ApplicationTitle());
    }
}

} // namespace
