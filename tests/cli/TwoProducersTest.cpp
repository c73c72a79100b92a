// One table of option sets, two producers: the window compiles (with the compile tests' stand-in tools)
// and stores its options as a user leaves them; then qmxcompile --dry-run, run as a program from the same
// program directory, must print the same compile.bat bytes, or refuse as the window did.

#include "support/CompileFixture.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>

using TwoProducers = CompileFixture;

TEST_F(TwoProducers, WindowAndCommandWriteTheSameCompileBat)
{
    const QString command = m_sandbox.hostPath(QFileInfo(QStringLiteral(QMX_COMPILE_EXE)).fileName());
    ASSERT_TRUE(QFile::copy(QStringLiteral(QMX_COMPILE_EXE), command));
    qmx::storeSetting(qmx::config::Setting::SDKDir, win(m_sdkDir)); // as the SDK folder window stores it
    const qmxtest::ScopedEnv noSdk("sourcesdk", ""); // which would win over it
    pickMap();

    const struct
    {
        const char* stored; // restored into the window
        QStringList typed; // then typed into value boxes, as "box=text"
        int preset; // 0: the window closes and keeps them as the last used options; 1 to 4: saved there
    } cases[] = {
        // The seed examples, then the other combinations of the three masters, then hostile value texts.
        {"0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0", {}, 0},
        {"1,1,1|0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,1,2|1,0,0|1,0,0,0,0,0,0,0,0,0,0,1,8,0,0,0,0|1", {}, 1},
        {"0,0,1|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0", {}, 0},
        {"1,0,0|1,0,0,0,0,1,0,0,0,0,0,0,0,0,0,1,1,,1,|0,0,0|0|0", {}, 2},
        {"1,1,0|0|1,1,1|0|1", {}, 0},
        {"1,0,1|0|0|1,1,1,1,1,1,1,1,1,1,3,1,2,1,1,1,32|0", {}, 3},
        {"0,1,0|0|1,0,0|0|1", {}, 0},
        {"0,1,1|0|1,0,0|1|0", {}, 4},
        {"1,0,1|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1,x,1,x|0|0,0,0,0,0,0,0,0,0,1,x,1,x,1,x,1,x|1",
         {"BSPblocks_text=4 4  12 ", "BSPluxelscale_text=%vproject%", "RADlights_text=\"my lights\".rad",
          "RADbounce_text=1,5|", "RADluxdensity_text=\u00e4\u00df\u00e9 \u0142\u20ac",
          "RADmaxdispsamplesize_text=  8 "},
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        qmxtest::resetRecorders();
        QFile::remove(m_sdkDir + "/compile.bat");
        qmx::config::write(qmx::config::Setting::Preset4, c.stored); // put into the window by its Preset menu
        action("loadpreset4")->trigger();
        qmxtest::resetRecorders();
        for (const QString& typed : c.typed) {
            auto* box = child<qmx::TextBox>(m_form.get(), typed.section('=', 0, 0));
            box->clear();
            for (const QChar letter : typed.section('=', 1)) { // keyClicks() knows ASCII only
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(letter));
                QApplication::sendEvent(box, &press);
            }
        }
        compile();
        const QByteArray windowBatch = batchBytes();
        const bool windowRefused = !messages().empty() && messages()[0].prompt == languageKey("nobsp");
        ASSERT_TRUE(windowRefused != !windowBatch.isEmpty());
        if (c.preset) {
            action(QString("savepreset%1").arg(c.preset))->trigger();
        } else {
            m_form->close();
            m_form->show();
        }

        QStringList args = {m_mapDir + "/a.vmf", "--dry-run"};
        if (c.preset)
            args << "--preset" << QString::number(c.preset) << "--sdk-dir" << m_sdkDir;
        QProcess process;
        const QByteArray settings = m_sandbox.readFile("settings.qmxII");
        process.start(command, args);
        ASSERT_TRUE(process.waitForFinished(30000));
        const QByteArray out = process.readAllStandardOutput(), err = process.readAllStandardError();
        EXPECT_EQ(process.exitCode(), windowRefused ? 65 : 0) << err.toStdString();
        EXPECT_EQ(out, windowRefused ? QByteArray() : windowBatch);
        if (windowRefused) {
            EXPECT_TRUE(err.startsWith("qmxcompile: " + languageKey("nobsp").toUtf8())) << err.toStdString();
        }
        EXPECT_EQ(m_sandbox.readFile("settings.qmxII"), settings);
    }
}
