#include "compile/core/DurationText.h"

#include <gtest/gtest.h>

#include <limits>

using namespace qmx::compile;

namespace {
const DurationWords kEnglish{"hour", "minute", "second", "and"};
}

TEST(ElapsedTime, NumericAndWordsForTypicalDurations)
{
    struct Case
    {
        std::int32_t seconds;
        const char* numeric;
        const char* words;
    };
    const Case cases[] = {
        {0, "0:00.00", "0 seconds"},
        {1, "0:00.01", "1 second"},
        {59, "0:00.59", "59 seconds"},
        {60, "0:01.00", "1 minute and 0 seconds"},
        {61, "0:01.01", "1 minute and 1 second"},
        {125, "0:02.05", "2 minutes and 5 seconds"},
        {3600, "1:00.00", "1 hour, 0 minutes, and 0 seconds"},
        {3661, "1:01.01", "1 hour, 1 minute, and 1 second"},
        {7201, "2:00.01", "2 hours, 0 minutes, and 1 second"},
        {7322, "2:02.02", "2 hours, 2 minutes, and 2 seconds"},
        {360000, "100:00.00", "100 hours, 0 minutes, and 0 seconds"},
        {3599, "0:59.59", "59 minutes and 59 seconds"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(numericDuration(c.seconds), c.numeric) << c.seconds;
        EXPECT_EQ(describeDuration(c.numeric, kEnglish), c.words) << c.seconds;
    }
}

TEST(ElapsedTime, LargestCountKeepsAllHourDigits)
{
    EXPECT_EQ(numericDuration(std::numeric_limits<std::int32_t>::max()), "596523:14.07");
    EXPECT_EQ(describeDuration("596523:14.07", kEnglish), "596523 hours, 14 minutes, and 7 seconds");
}

TEST(ElapsedTime, EmptyWordsLeaveTheirBlanks)
{
    struct Case
    {
        DurationWords words;
        const char* numeric;
        const char* expected;
    };
    const Case cases[] = {
        {{"hour", "minute", "second", ""}, "0:01.01", "1 minute  1 second"},
        {{"hour", "minute", "", "and"}, "0:00.02", "2 s"},
        {{"hour", "minute", "", "and"}, "0:00.01", "1 "},
        {{"", "", "", ""}, "1:00.00", "1 , 0 s,  0 s"},
        {{"Stunde", "Minute", "Sekunde", "und"}, "2:00.01", "2 Stundes, 0 Minutes, und 1 Sekunde"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(describeDuration(c.numeric, c.words), c.expected) << c.numeric;
}

TEST(ElapsedTime, DamagedNumericTextDoesNotCrash)
{
    // Not produced by numericDuration, but the routine takes any text.
    const char* inputs[] = {"", ":", "x", "12", "1:", "a:bc.de", "-1:-1.-1", "99999999999999999999:00.00"};
    for (const char* in : inputs)
        EXPECT_FALSE(describeDuration(in, kEnglish).empty()) << in;
}
