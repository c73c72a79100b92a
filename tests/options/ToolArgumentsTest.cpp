#include "options/ToolArguments.h"

#include "options/OptionString.h"

#include "FormFixture.h"

#include <QStringList>

namespace {

struct ArgumentCase
{
    const char* what;
    QStringList ticked; // masters and options, ticked in this order
    QList<QPair<QString, QString>> texts; // value text box contents
    QString bsp, vis, rad;
};

class ToolArgumentsTest : public FormFixture
{
};

TEST_F(ToolArgumentsTest, SwitchTextsFollowTheTicksExactly)
{
    const QStringList everyRad = {"RAD",           "RADfast",
                                  "RADrederror",   "RADnoextra",
                                  "RADdump",       "RADdumpnormals",
                                  "RADstoponexit", "RADdlightmap",
                                  "RADonlydetail", "RADnodetaillight",
                                  "RADlights",     "RADbounce",
                                  "RADluxdensity", "RADmaxdispsamplesize"};
    const ArgumentCase cases[] = {
        {"nothing ticked", {}, {}, "", "", ""},
        {"masters only", {"BSP", "VIS", "RAD"}, {}, "", "", ""},
        {"options without their masters", {"BSPnowater", "VISfast", "RADdump"}, {}, "", "", ""},
        {"only a later row: one leading blank", {"BSP", "BSPonlyents"}, {}, " -onlyents", "", ""},
        {"first rows without leading blank", {"VIS", "VISfast", "VISnosort"}, {}, "", "-fast -nosort", ""},
        {"VIS without its first row",
         {"VIS", "VISnosort", "VISradiusoverride"},
         {},
         "",
         " -nosort -radiusoverride",
         ""},
        {"value copied with its inner blanks",
         {"BSP", "BSPleaktest", "BSPnowater", "BSPblocks"},
         {{"BSPblocks_text", "4 4 12"}},
         "-leaktest -nowater -blocks 4 4 12",
         "",
         ""},
        {"empty value keeps the trailing blank", {"BSP", "BSPluxelscale"}, {}, " -luxelscale ", "", ""},
        {"names that differ from their switches",
         {"BSP", "BSPonlyporps", "BSPnoTjunc", "BSPdumbcollide"},
         {},
         " -onlyprops -notjunc -dumpcollide",
         "",
         ""},
        {"every RAD row, lights last",
         everyRad,
         {{"RADbounce_text", "2"},
          {"RADluxdensity_text", "1"},
          {"RADmaxdispsamplesize_text", "32"},
          {"RADlights_text", "3"}},
         "",
         "",
         "-fast -rederror -noextra -dump -dumpnormals -stoponexit -dlightmap -onlydetail -nodetaillight -bounce 2 "
         "-luxdensity 1 -maxdispsamplesize 32 -lights 3"},
        {"text of an unticked value option is ignored",
         {"RAD", "RADdump"},
         {{"RADbounce_text", "9"}},
         "",
         "",
         " -dump"},
    };
    for (const ArgumentCase& c : cases) {
        SCOPED_TRACE(c.what);
        Module1::RestoreOptionString(QString());
        for (const QString& name : c.ticked)
            tick(name);
        for (const auto& [name, value] : c.texts)
            text(name)->setText(value);
        EXPECT_EQ(Module1::BuildBspArguments(), c.bsp);
        EXPECT_EQ(Module1::BuildVisArguments(), c.vis);
        EXPECT_EQ(Module1::BuildRadArguments(), c.rad);
    }
}

} // namespace
