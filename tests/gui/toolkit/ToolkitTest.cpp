// The classic controls' own behaviour: picks in the file list, navigation in the directory list, and message
// boxes that show their text as it is. (A value box's refused characters: the option pages' test.)

#include "core/os/Os.h"
#include "gui/toolkit/DirList.h"
#include "gui/toolkit/FileList.h"
#include "gui/toolkit/MessageBox.h"
#include "support/Sandbox.h"

#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Shows a list of the sandbox folder "relative", made with the given files and subfolders (these end in "/").
template <typename List>
bool showList(List& list, const qmxtest::Sandbox& sandbox, const QString& relative, const QStringList& entries)
{
    const QString dir = sandbox.makeDir(relative);
    for (const QString& name : entries) {
        QDir().mkpath(QFileInfo(dir + '/' + name).path());
        QFile(dir + '/' + name).open(QIODevice::WriteOnly); // nothing for a folder
    }
    list.setPath(QString::fromStdString(qmx::os::toWindowsPath(dir.toStdString())));
    list.resize(300, 400);
    list.show();
    return QTest::qWaitForWindowExposed(&list);
}

QPoint rowCentre(const QListWidget& list, int row)
{
    return list.visualItemRect(list.item(row)).center();
}

// Every way a map gets picked raises Click exactly once, with the picked name in FileName; a refill picks none.
TEST(FileList, EveryPickRaisesClickOnce)
{
    qmxtest::Sandbox sandbox;
    qmx::FileList list(QStringLiteral("File1"));
    list.setPattern(QStringLiteral("*.vmf"));
    ASSERT_TRUE(showList(list, sandbox, QStringLiteral("maps \u00e4"), {"a.vmf", "b.vmf", "c.vmf"}));
    QSignalSpy clicks(&list, &qmx::FileList::Click);
    QWidget* view = list.viewport();
    const auto click = [&] { QTest::mouseClick(view, Qt::LeftButton, {}, rowCentre(list, 0)); };
    const std::tuple<const char*, std::function<void()>, const char*> steps[] = {
        {"click a row", click, "a.vmf"},
        {"click the selected row again", click, "a.vmf"},
        {"press on one row, release on another",
         [&] {
             QTest::mousePress(view, Qt::LeftButton, {}, rowCentre(list, 0));
             QTest::mouseMove(view, rowCentre(list, 1));
             QTest::mouseMove(view, rowCentre(list, 2));
             QTest::mouseRelease(view, Qt::LeftButton, {}, rowCentre(list, 2));
         },
         "c.vmf"},
        {"the keyboard", [&] { QTest::keyClick(&list, Qt::Key_Up); }, "b.vmf"},
        {"code", [&] { list.setCurrentRow(0); }, "a.vmf"},
        {"a refill", [&] { list.refresh(); }, ""},
    };
    for (const auto& [what, act, picked] : steps) {
        SCOPED_TRACE(what);
        clicks.clear();
        act();
        EXPECT_EQ(list.FileName(), QString::fromLatin1(picked));
        EXPECT_EQ(clicks.count(), *picked ? 1 : 0);
    }
}

// Double-click and Enter open a row, a subdirectory or an ancestor; Change follows each opening.
TEST(DirList, DoubleClickAndEnterOpenRows)
{
    qmxtest::Sandbox sandbox;
    qmx::DirList list(QStringLiteral("Dir1"));
    ASSERT_TRUE(showList(list, sandbox, QStringLiteral("tree"), {"maps \u00e4/work/", "props/"}));
    QSignalSpy changes(&list, &qmx::DirList::Change);
    const QString top = list.Path();
    const std::tuple<const char*, const char*, Qt::Key, QString> steps[] = {
        // what, the row's text, the key pressed on it (none: a double-click), the directory then open
        {"double-click a subdirectory", "maps \u00e4", Qt::Key_unknown, top + "\\maps \u00e4"},
        {"Enter on a subdirectory", "work", Qt::Key_Return, top + "\\maps \u00e4\\work"},
        {"double-click an ancestor", "tree", Qt::Key_unknown, top},
        {"Enter on the open directory itself", "tree", Qt::Key_Enter, top},
    };
    for (const auto& [what, text, key, path] : steps) {
        SCOPED_TRACE(what);
        changes.clear();
        const QList<QListWidgetItem*> found = list.findItems(QString::fromUtf8(text), Qt::MatchExactly);
        const int row = found.isEmpty() ? -1 : list.row(found.first());
        if (key == Qt::Key_unknown) {
            QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, rowCentre(list, row));
        } else {
            list.setCurrentRow(row);
            QTest::keyClick(&list, key);
        }
        EXPECT_EQ(list.Path(), path);
        EXPECT_EQ(changes.count(), 1);
    }
}

// Prompts are shown as they stand: a language text with "<b>" or "<again>" is not markup. The style gives the
// icon and the buttons, the application its title; an action is one more button.
TEST(MessageBox, PromptIsPlainTextWithTheStylesIconAndButtons)
{
    const QString prompt = "<b>qmxgui</b> is running <again> &amp;";
    const auto box = qmx::MakeMessageBox({prompt, qmx::vbYesNo | qmx::vbQuestion, {}, "Open log"});
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->text(), prompt);
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->windowTitle(), qmx::ApplicationTitle());
    EXPECT_EQ(box->buttons().size(), 3);
}

} // namespace
