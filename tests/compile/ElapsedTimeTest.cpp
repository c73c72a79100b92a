#include "compile/ElapsedTime.h"
#include "compile/Timer.h"

#include "support/Sandbox.h"

#include <gtest/gtest.h>

TEST(ElapsedTimeWords, UnitWordsAreReadOnEveryCall)
{
    qmxtest::Sandbox sandbox(false);
    struct Case
    {
        QByteArray file;
        qint32 seconds;
        QString expected;
    };
    const Case cases[] = {
        {"[Language]\r\nhour=hour\r\nminute=minute\r\nsecond=second\r\nand=and\r\n", 3661,
         QStringLiteral("1 hour, 1 minute, and 1 second")},
        {"[LANGUAGE]\r\nhour=Stunde\r\nminute=Minute\r\nsecond=Sekunde\r\nand=und\r\n", 125,
         QStringLiteral("2 Minutes und 5 Sekundes")},
        {"[language]\r\nminute=minute\r\nsecond=second\r\n", 61, QStringLiteral("1 minute  1 second")},
        {"[language]\r\nminute=minute\r\n", 2, QStringLiteral("2 s")},
        {"", 0, QStringLiteral("0 s")},
    };
    for (const Case& c : cases) {
        sandbox.writeFile(QStringLiteral("language.qmxII"), c.file);
        EXPECT_EQ(Module1::FormatElapsedTime(c.seconds, true), c.expected) << c.file.toStdString();
        EXPECT_EQ(Module1::FormatElapsedTime(c.seconds, false).count(QLatin1Char(':')), 1);
    }
}

TEST(ElapsedTimeWords, NumericFormNeedsNoLanguageFile)
{
    qmxtest::Sandbox sandbox(false);
    EXPECT_EQ(Module1::FormatElapsedTime(7322, false), QStringLiteral("2:02.02"));
    EXPECT_EQ(Module1::DescribeDuration(QStringLiteral("0:00.05")), QStringLiteral("5 s"));
}

TEST(CompileTimer, ShortPathOfExistingAndMissingDirectories)
{
    qmxtest::Sandbox sandbox;
    EXPECT_FALSE(Module1::GetShortPath(sandbox.windowsDir()).isEmpty());
    EXPECT_TRUE(Module1::GetShortPath(sandbox.windowsDir() + QStringLiteral("\\missing")).isEmpty());
}
