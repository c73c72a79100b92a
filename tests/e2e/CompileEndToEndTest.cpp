// Picks a map, ticks options on all three pages, chooses Compile, and lets Wine's console run
// compile.bat with the stand-in tools; then checks what the tools got and what the user saw.

#include "main_window/Form1.h"
#include "storage/qt/Module1Ini.h"
#include "support/Recorders.h"
#include "support/Sandbox.h"
#include "toolkit/CheckBox.h"
#include "toolkit/DirList.h"
#include "toolkit/FileList.h"
#include "toolkit/TextBox.h"
#include "toolkit/os/Os.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString win(const QString& host)
{
    return QString::fromStdString(qmx::os::toWindowsPath(host.toStdString()));
}

QByteArray readHost(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Clicks a widget once it is on screen; a page that just became current is laid out first.
void click(QWidget* widget)
{
    ASSERT_TRUE(QTest::qWaitFor([widget] { return widget->isVisible() && widget->isEnabled(); }, 5000))
        << widget->objectName().toStdString();
    // A check box takes clicks on its indicator and caption only, not on the rest of its width.
    const QPoint where = qobject_cast<QCheckBox*>(widget) ? QPoint(8, widget->height() / 2) : widget->rect().center();
    QTest::mouseClick(widget, Qt::LeftButton, {}, where);
}

} // namespace

TEST(CompileEndToEnd, StandInToolsGetTheirCommandLinesThroughWine)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "needs an X display";
    if (QStandardPaths::findExecutable(QStringLiteral("wineconsole")).isEmpty())
        GTEST_SKIP() << "needs Wine";
    const QString standins = QStringLiteral(QMX_STANDIN_DIR);
    if (!QFile::exists(standins + QStringLiteral("/qmxbsp.exe")))
        GTEST_SKIP() << "stand-in tools not built (no mingw-w64)";

    // The program and game directories carry non-ASCII letters; the SDK and map directories only
    // blanks, since cmd reads compile.bat in the OEM code page and would change other letters.
    qmxtest::Sandbox sandbox;
    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/qmx e2e XXXXXX"));
    ASSERT_TRUE(work.isValid());
    const QString sdkDir = work.path() + QStringLiteral("/Source SDK/bin");
    const QString mapDir = work.path() + QStringLiteral("/my maps");
    const QString gameDir = sandbox.makeDir(QStringLiteral("Spiel \u00f6/maps"));
    QDir().mkpath(sdkDir);
    QDir().mkpath(mapDir);
    for (const char* tool : {"qmxbsp.exe", "qmxvis.exe", "qmxrad.exe"})
        ASSERT_TRUE(QFile::copy(standins + QLatin1Char('/') + QLatin1String(tool),
                                sdkDir + QLatin1Char('/') + QLatin1String(tool)));
    {
        QFile map(mapDir + QStringLiteral("/castle.vmf"));
        ASSERT_TRUE(map.open(QIODevice::WriteOnly));
        map.write("versioninfo\n{\n}\n");
    }
    const QString log = work.path() + QStringLiteral("/tools.log");
    qputenv("QMX_STANDIN_LOG", win(log).toUtf8());
    qputenv("QMX_STANDIN_SECONDS", "0");
    qputenv("vproject", "Z:\\my mods\\castle mod");

    Form1 form;
    form.SDKDir = win(sdkDir);
    form.Dir2->setPath(win(gameDir));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    form.Dir1->setPath(win(mapDir));
    const QList<QListWidgetItem*> items = form.File1->findItems(QStringLiteral("castle.vmf"), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    QTest::mouseClick(form.File1->viewport(), Qt::LeftButton, {}, form.File1->visualItemRect(items.front()).center());
    ASSERT_EQ(form.File1->FileName(), QStringLiteral("castle.vmf"));

    // One page at a time, as a user would: the tab must be current for its boxes to be clickable.
    struct Page
    {
        int index;
        const char* master;
        std::vector<const char*> boxes;
        std::vector<std::pair<const char*, const char*>> values;
    };
    const Page pages[] = {
        {0, "BSP", {"BSPnowater", "BSPblocks"}, {{"BSPblocks_text", "4 4 12"}}},
        {1, "VIS", {"VISfast"}, {}},
        {2, "RAD", {"RADnoextra", "RADlights"}, {{"RADlights_text", "my lights.rad"}}},
    };
    for (const Page& page : pages) {
        click(form.checkBox(QLatin1String(page.master)));
        form.SSTab1->setCurrentIndex(page.index);
        for (const char* name : page.boxes) {
            qmx::CheckBox* box = form.checkBox(QLatin1String(name));
            ASSERT_NE(box, nullptr) << name;
            click(box);
            ASSERT_EQ(box->Value(), 1) << name;
        }
        for (const auto& [name, value] : page.values) {
            qmx::TextBox* text = form.textBox(QLatin1String(name));
            ASSERT_NE(text, nullptr) << name;
            text->clear();
            QTest::keyClicks(text, QLatin1String(value));
        }
    }
    click(form.CopyFile);
    ASSERT_EQ(form.CopyFile->Value(), 1);

    ASSERT_TRUE(form.MenuCompile->isEnabled());
    form.MenuCompile->trigger(); // returns once the console has closed and the message was shown

    const QString sdk = win(sdkDir);
    const QString map = win(mapDir) + QStringLiteral("\\castle.vmf");
    const QString head = QStringLiteral("\"%1\\%2\" -game \"%3\" ");
    const QString lines[] = {
        head + QStringLiteral(" -nowater -blocks 4 4 12 \"%4\""),
        head + QStringLiteral("-fast \"%4\""),
        head + QStringLiteral(" -noextra -lights my lights.rad \"%4\""),
    };
    const char* tools[] = {"qmxbsp.exe", "qmxvis.exe", "qmxrad.exe"};
    QByteArray batch;
    QByteArray expectedLog;
    for (int i = 0; i < 3; ++i) {
        batch += lines[i].arg(sdk, QLatin1String(tools[i]), QStringLiteral("%vproject%"), map).toLatin1() + "\r\n";
        expectedLog
            += lines[i].arg(sdk, QLatin1String(tools[i]), QStringLiteral("Z:\\my mods\\castle mod"), map).toLatin1()
            + "\r\n";
    }
    EXPECT_EQ(readHost(sdkDir + QStringLiteral("/compile.bat")), batch);
    EXPECT_EQ(readHost(log), expectedLog);

    ASSERT_EQ(qmxtest::messages().size(), 1u);
    const QString compileText
        = Module1::ReadIniValue(Module1::LanguageFile(), QStringLiteral("Language"), QStringLiteral("Compile"));
    const QRegularExpression words(QStringLiteral("^\\Q%1\\E (\\d+ minutes? and )?\\d+ seconds?$").arg(compileText));
    EXPECT_TRUE(words.match(qmxtest::messages()[0].prompt).hasMatch()) << qmxtest::messages()[0].prompt.toStdString();
    EXPECT_EQ(qmxtest::messages()[0].style, 64);

    EXPECT_TRUE(readHost(gameDir + QStringLiteral("/castle.bsp")).startsWith("stand-in BSP compiled from "));
    EXPECT_FALSE(form.compileRunning);
    EXPECT_TRUE(form.MenuCompile->isEnabled());
}
