// The drive, directory and file lists, and the centring arithmetic.

#include "StartUpFixture.h"

#include "main_window/CentreWindow.h"
#include "toolkit/DirList.h"
#include "toolkit/DriveList.h"
#include "toolkit/FileList.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

namespace qmxtest {
namespace {

TEST(CentredOffset, RoundsHalvesToEvenThenHalvesTowardZero)
{
    struct Case
    {
        double screen;
        double window;
        long long expected;
    } const cases[] = {
        {15360, 9601, 2879}, // 5759 halved
        {15360, 16361, -500}, // wider by 1001
        {1280, 800, 240},     {1280, 1280, 0}, {100, 98.5, 1}, // 1.5 -> 2
        {100, 97.5, 1}, // 2.5 -> 2
        {100, 96.5, 2}, // 3.5 -> 4
        {100, 102.5, -1}, // -2.5 -> -2
        {100, 103.5, -2}, // -3.5 -> -4
        {100, 103, -1}, // -3 halved toward zero
    };
    for (const auto& c : cases)
        EXPECT_EQ(qmx::CentredOffset(c.screen, c.window), c.expected) << c.screen << " " << c.window;
}

TEST(DirListResolve, CombinesTextWithTheGivenDrive)
{
    struct Case
    {
        const char* text;
        char drive;
        const char* expected;
    } const cases[] = {
        {"c:", 0, "C:\\"},
        {"C:\\", 'D', "C:\\"},
        {"c:/maps/work/", 0, "C:\\maps\\work"},
        {"\\maps\\work", 'D', "D:\\maps\\work"},
        {"games\\steam\\Steamapps", 'E', "E:\\games\\steam\\Steamapps"},
        {"/a//b/./c/../d", 'C', "C:\\a\\b\\d"},
        {"C:\\..\\..", 0, "C:\\"},
        {"\\maps", 0, ""},
        {"", 'C', "C:\\"},
        {"1:\\x", 'C', "C:\\1:\\x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(qmx::DirList::resolvePath(QString::fromLatin1(c.text), c.drive), QString::fromLatin1(c.expected));
    }
}

using BrowserLists = StartUpTest;

TEST_F(BrowserLists, DriveListShowsThePrefixDrivesAndIgnoresUnknownOnes)
{
    qmx::DriveList drives(QStringLiteral("Drive1"));
    ASSERT_EQ(drives.count(), 2);
    EXPECT_EQ(drives.Drive(), QStringLiteral("c:"));
    QSignalSpy changes(&drives, &qmx::DriveList::Change);
    const char* const accepted[] = {"D:\\", "c:/", "d:", "D:\\games\\x"};
    for (const char* text : accepted)
        drives.setDrive(QString::fromLatin1(text));
    EXPECT_EQ(changes.count(), 4);
    EXPECT_EQ(drives.Drive(), QStringLiteral("d:"));
    const char* const rejected[] = {"q:", "", "maps", "\\\\server\\share"};
    for (const char* text : rejected)
        drives.setDrive(QString::fromLatin1(text));
    EXPECT_EQ(changes.count(), 4);
    EXPECT_EQ(drives.Drive(), QStringLiteral("d:"));
}

TEST_F(BrowserLists, WithoutAPrefixTheOnlyDriveIsZ)
{
    EnvGuard prefix("WINEPREFIX", QFile::encodeName(m_sandbox.makeDir(QStringLiteral("no prefix here"))));
    qmx::DriveList drives(QStringLiteral("Drive1"));
    ASSERT_EQ(drives.count(), 1);
    EXPECT_EQ(drives.Drive(), QStringLiteral("z:"));
}

TEST_F(BrowserLists, DirListShowsAncestorsThenSubdirectoriesAndOpensOnDoubleClick)
{
    makeDirOnDrive('D', QStringLiteral("maps/work"));
    makeDirOnDrive('D', QStringLiteral("maps/\u00e4lt"));
    makeDirOnDrive('D', QStringLiteral("maps/Beta"));
    writeFileOnDrive('D', QStringLiteral("maps/file.vmf"));
    qmx::DirList dirs(QStringLiteral("Dir1"));
    QSignalSpy changes(&dirs, &qmx::DirList::Change);
    dirs.setPath(QStringLiteral("D:\\maps"));
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(dirs.Path(), QStringLiteral("D:\\maps"));
    ASSERT_EQ(dirs.count(), 5);
    EXPECT_EQ(dirs.ancestorCount(), 2);
    EXPECT_EQ(dirs.item(0)->text(), QStringLiteral("d:\\"));
    EXPECT_EQ(dirs.item(1)->text(), QStringLiteral("maps"));
    // Sorted by the OS layer without regard to case.
    EXPECT_EQ(dirs.item(2)->text(), QStringLiteral("Beta"));
    EXPECT_EQ(dirs.item(3)->text(), QStringLiteral("work"));
    EXPECT_EQ(dirs.item(4)->text(), QStringLiteral("\u00e4lt"));
    EXPECT_EQ(dirs.item(3)->data(qmx::DirList::LevelRole).toInt(), 2);

    dirs.resize(300, 300);
    dirs.show();
    QTest::mouseDClick(dirs.viewport(), Qt::LeftButton, Qt::NoModifier, dirs.visualItemRect(dirs.item(3)).center());
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(dirs.Path(), QStringLiteral("D:\\maps\\work"));

    dirs.setCurrentRow(0);
    QTest::keyClick(&dirs, Qt::Key_Return);
    EXPECT_EQ(dirs.Path(), QStringLiteral("D:\\"));
    EXPECT_EQ(changes.count(), 3);
}

TEST_F(BrowserLists, DirectoryThatCannotBeOpenedLeavesTheListWhereItWas)
{
    makeDirOnDrive('D', QStringLiteral("gone/sub"));
    qmx::DirList dirs(QStringLiteral("Dir1"));
    dirs.setPath(QStringLiteral("D:\\gone"));
    QSignalSpy changes(&dirs, &qmx::DirList::Change);

    QDir(driveRoot('D') + QStringLiteral("/gone")).removeRecursively();
    dirs.refresh();
    EXPECT_EQ(dirs.count(), 3);
    const char* const unopenable[] = {"D:\\gone\\sub", "D:\\missing", "Q:\\", "\\\\srv\\x"};
    for (const char* path : unopenable)
        dirs.setPath(QString::fromLatin1(path));
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(dirs.Path(), QStringLiteral("D:\\gone"));
}

TEST_F(BrowserLists, FileListMatchesWithoutCaseAndSelectsNothingUntilClicked)
{
    makeDirOnDrive('C', QStringLiteral("m"));
    const char* const files[] = {"B.VMF", "a.vmf", "c.vmx", "d.vmf.bak", ".hidden.vmf", "e.txt"};
    for (const char* f : files)
        writeFileOnDrive('C', QStringLiteral("m/") + QString::fromLatin1(f));
    makeDirOnDrive('C', QStringLiteral("m/dir.vmf"));
    qmx::FileList list(QStringLiteral("File1"));
    list.setPattern(QStringLiteral("*.vmf"));
    list.setPath(QStringLiteral("C:\\m"));
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(0)->text(), QStringLiteral("a.vmf"));
    EXPECT_EQ(list.item(1)->text(), QStringLiteral("B.VMF"));
    EXPECT_EQ(list.FileName(), QString());

    list.setPattern(QStringLiteral("*.vmf;*.TXT"));
    EXPECT_EQ(list.count(), 3);

    QSignalSpy clicks(&list, &qmx::FileList::Click);
    list.resize(200, 200);
    list.show();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, list.visualItemRect(list.item(1)).center());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(list.FileName(), QStringLiteral("B.VMF"));
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(list.FileName(), QStringLiteral("e.txt"));

    list.setPath(QStringLiteral("C:\\does not exist"));
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.FileName(), QString());
}

} // namespace
} // namespace qmxtest
