// The classic controls' own behaviour: navigation in the directory list, picks in the file list, and message
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

QPoint rowCentre(const QListWidget& list, int row)
{
    return list.visualItemRect(list.item(row)).center();
}

// The lists wired as a browser wires them. Double-click and Enter open a subdirectory or an ancestor, Change once
// each; every way a map gets picked raises Click exactly once, with the picked name in FileName; a refill picks
// none.
TEST(Lists, OpenFoldersAndPickMaps)
{
    qmxtest::Sandbox sandbox;
    const QString tree = sandbox.makeDir("tree");
    for (const char* entry :
         {"maps \u00e4/a.vmf", "maps \u00e4/b.vmf", "maps \u00e4/c.vmf", "maps \u00e4/work/", "props/"}) {
        QDir().mkpath(QFileInfo(tree + '/' + QString::fromUtf8(entry)).path());
        QFile(tree + '/' + QString::fromUtf8(entry)).open(QIODevice::WriteOnly); // nothing for a folder
    }
    qmx::DirList dirs(QStringLiteral("Dir1"));
    qmx::FileList files(QStringLiteral("File1"));
    files.setPattern(QStringLiteral("*.vmf"));
    QObject::connect(&dirs, &qmx::DirList::Change, [&] { files.setPath(dirs.Path()); });
    dirs.setPath(QString::fromStdString(qmx::os::toWindowsPath(tree.toStdString())));
    for (QListWidget* list : std::initializer_list<QListWidget*>{&dirs, &files}) {
        list->resize(300, 400);
        list->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list));
    }
    const QString top = dirs.Path();
    QSignalSpy changes(&dirs, &qmx::DirList::Change), clicks(&files, &qmx::FileList::Click);
    QWidget* view = files.viewport();
    const auto click = [&] { QTest::mouseClick(view, Qt::LeftButton, {}, rowCentre(files, 0)); };
    // Opens a directory row with a double-click, or with the key on it.
    const auto open = [&dirs](const char* text, Qt::Key key = Qt::Key_unknown) {
        return [&dirs, text, key] {
            dirs.setCurrentRow(dirs.row(dirs.findItems(QString::fromUtf8(text), Qt::MatchExactly).value(0)));
            if (key == Qt::Key_unknown)
                QTest::mouseDClick(dirs.viewport(), Qt::LeftButton, {}, rowCentre(dirs, dirs.currentRow()));
            else
                QTest::keyClick(&dirs, key);
        };
    };
    const std::tuple<const char*, std::function<void()>, QString, const char*> steps[] = {
        // what, the directory then open ("": the same, and no Change), the map then picked ("": none)
        {"double-click a subdirectory", open("maps \u00e4"), top + "\\maps \u00e4", ""},
        {"click a row", click, "", "a.vmf"},
        {"click the selected row again", click, "", "a.vmf"},
        {"press on one row, release on another",
         [&] {
             QTest::mousePress(view, Qt::LeftButton, {}, rowCentre(files, 0));
             QTest::mouseMove(view, rowCentre(files, 1));
             QTest::mouseMove(view, rowCentre(files, 2));
             QTest::mouseRelease(view, Qt::LeftButton, {}, rowCentre(files, 2));
         },
         "", "c.vmf"},
        {"the keyboard", [&] { QTest::keyClick(&files, Qt::Key_Up); }, "", "b.vmf"},
        {"code", [&] { files.setCurrentRow(0); }, "", "a.vmf"},
        {"a refill", [&] { files.refresh(); }, "", ""},
        {"Enter on a subdirectory", open("work", Qt::Key_Return), top + "\\maps \u00e4\\work", ""},
        {"double-click an ancestor", open("tree"), top, ""},
        {"Enter on the open directory itself", open("tree", Qt::Key_Enter), top, ""},
    };
    for (const auto& [what, act, path, picked] : steps) {
        SCOPED_TRACE(what);
        const QString before = dirs.Path();
        changes.clear();
        clicks.clear();
        act();
        EXPECT_EQ(dirs.Path() + '|' + files.FileName(), (path.isEmpty() ? before : path) + '|' + picked);
        EXPECT_EQ(changes.count(), path.isEmpty() ? 0 : 1);
        EXPECT_EQ(clicks.count(), *picked ? 1 : 0);
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
