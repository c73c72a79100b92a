// The option set without a window: the option string both ways, the switch texts, the value budget.

#include "core/options/OptionString.h"
#include "core/storage/IniFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace qmx::options;
using qmx::Page;

namespace {

const std::string kDefault
    = "0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0";
const std::string kMixed = "1,1,1|0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,1,2|1,0,0|1,0,0,0,0,0,0,0,0,0,0,1,8,0,0,0,0|1";
const std::string kOnlyRad = "0,0,1|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0";

// {"BSP", "BSPnowater", "BSPluxelscale=2", "CopyFile"}: masters, options and value texts by name.
OptionSet setOf(const std::vector<std::string>& ticks)
{
    OptionSet set;
    for (const std::string& word : ticks) {
        const std::size_t eq = word.find('=');
        const std::string name = word.substr(0, eq);
        if (name == "CopyFile")
            set.copyFile = true;
        else if (name == "BSP" || name == "VIS" || name == "RAD")
            set.setMaster(name == "BSP" ? Page::Bsp : name == "VIS" ? Page::Vis : Page::Rad, true);
        else
            set.option(name).ticked = true;
        if (eq != std::string::npos)
            set.option(name).text = word.substr(eq + 1);
    }
    return set;
}

} // namespace

TEST(OptionString, ExamplesWriteAndRestoreExactly)
{
    // ticks, stored text, whether the restored set equals the written one (nothing unrecorded was ticked)
    const std::tuple<std::vector<std::string>, std::string, bool> cases[] = {
        {{}, kDefault, true},
        {{"BSP", "VIS", "RAD", "BSPnowater", "BSPluxelscale=2", "VISfast", "RADfast", "RADbounce=8", "CopyFile"},
         kMixed,
         true},
        {{"RAD"}, kOnlyRad, true},
        // An unticked page records nothing of what its controls hold; unticked RAD has eighteen zeros.
        {{"VIS", "BSPnowater", "RADfast"},
         "0,1,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0",
         false},
        // A ticked value option with an empty text: "1" and an empty field; an unticked one "0,0".
        {{"BSP", "BSPblocks"},
         "1,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1,,0,0|0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0",
         true},
        // Separators and line breaks cannot be stored; the rest of the text is kept as it is.
        {{"RAD", "RADlights=a,b|c\r\nd e"},
         "0,0,1|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|0,0,0,0,0,0,0,0,0,1,abcd e,0,0,0,0,0,0|0",
         false},
    };
    for (const auto& [ticks, stored, exact] : cases) {
        SCOPED_TRACE(stored);
        const OptionSet set = setOf(ticks);
        EXPECT_EQ(storedOptionString(set), stored);
        EXPECT_EQ(storedOptionString(restoreOptionSet(stored)), stored);
        EXPECT_EQ(restoreOptionSet(stored) == set, exact);
    }
}

// Short, damaged or hostile text restores to a state that writes and reads back to itself.
TEST(OptionString, DamagedTextRestoresMissingPiecesAsUntickedAndEmpty)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", kDefault},
        {"1,1,1", "1,1,1|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0"},
        {"0,0,0||||1", kDefault.substr(0, kDefault.size() - 1) + "1"},
        {"1,0,0|1,1|x|y|true",
         "1,0,0|1,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|"
         "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0"},
        {" 1,true,2|1|1|1| 1", kDefault},
        {"1,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1", // a ticked value option whose text field is missing
         "1,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1,,0,0|0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0"},
        {"1,1,1|" + std::string(5000, '1') + "|,,,,|1,|1|extra|parts", // beyond the fields read: ignored
         "1,1,1|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|1"},
        {std::string("1,0,0|\0,1|\xff\xfe|", 12), // a NUL and bytes that are no text
         "1,0,0|0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0"},
    };
    for (const auto& [stored, written] : cases) {
        SCOPED_TRACE(stored.substr(0, 40));
        const std::string again = storedOptionString(restoreOptionSet(stored));
        EXPECT_EQ(again, written);
        EXPECT_EQ(storedOptionString(restoreOptionSet(again)), again);
    }
}

// The exact switch texts, with their spacing; a text of an unticked option or of a page that is off adds nothing.
TEST(ToolArguments, SwitchTextsFollowTheTicksExactly)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "||"},
        {{"BSP", "VIS", "RAD"}, "||"},
        {{"BSPnowater", "VISfast", "RADdump"}, "||"}, // options without their masters
        {{"BSP", "BSPonlyents"}, " -onlyents||"},
        {{"VIS", "VISfast", "VISnosort"}, "|-fast -nosort|"},
        {{"VIS", "VISnosort", "VISradiusoverride"}, "| -nosort -radiusoverride|"},
        {{"BSP", "BSPleaktest", "BSPnowater", "BSPblocks=4 4 12"}, "-leaktest -nowater -blocks 4 4 12||"},
        {{"BSP", "BSPluxelscale"}, " -luxelscale ||"},
        {{"BSP", "BSPonlyporps", "BSPnoTjunc", "BSPdumbcollide"}, " -onlyprops -notjunc -dumpcollide||"},
        {{"RAD", "RADfast", "RADrederror", "RADnoextra", "RADdump", "RADdumpnormals", "RADstoponexit", "RADdlightmap",
          "RADonlydetail", "RADnodetaillight", "RADlights=3", "RADbounce=2", "RADluxdensity=1",
          "RADmaxdispsamplesize=32"},
         "||-fast -rederror -noextra -dump -dumpnormals -stoponexit -dlightmap -onlydetail -nodetaillight -bounce 2 "
         "-luxdensity 1 -maxdispsamplesize 32 -lights 3"},
        {{"RAD", "RADdump", "RADbounce_text=9"}, "|| -dump"}, // text of an unticked value option is ignored
        {{"BSP", "BSPblocks= \"a b\" ", "VIS", "VISfast"}, " -blocks  \"a b\" |-fast|"}, // nothing quoted or trimmed
    };
    for (const auto& [ticks, expected] : cases) {
        SCOPED_TRACE(expected);
        OptionSet set = setOf(ticks);
        set.option("RADbounce").ticked = std::find(ticks.begin(), ticks.end(), "RADbounce=2") != ticks.end();
        EXPECT_EQ(toolArguments(set, Page::Bsp) + "|" + toolArguments(set, Page::Vis) + "|"
                      + toolArguments(set, Page::Rad),
                  expected);
    }
}

// The budget of the six value texts is derived from the catalogue: no combination of ticks, with every text
// empty, writes more than the longest flag part, and some combination writes exactly that. (The window's tests
// fill the boxes to the budget in the worst combinations.)
TEST(OptionString, ValueBudgetLeavesRoomForTheLongestFlags)
{
    std::vector<const qmx::OptionEntry*> values;
    for (const qmx::OptionEntry& entry : qmx::optionCatalogue()) {
        if (entry.kind == qmx::OptionKind::Value)
            values.push_back(&entry);
    }
    std::size_t longest = 0;
    for (unsigned mask = 0; mask < (1u << (3 + values.size())); ++mask) {
        OptionSet set;
        set.copyFile = true;
        for (int page = 0; page < 3; ++page)
            set.setMaster(static_cast<Page>(page), mask & (1u << page));
        for (std::size_t i = 0; i < values.size(); ++i)
            set[*values[i]].ticked = mask & (1u << (3 + i));
        longest = std::max(longest, storedOptionString(set).size());
    }
    EXPECT_EQ(longestFlagLength(), longest);
    EXPECT_EQ(valueTextBudget(), qmx::ini::kMaxValueBytes - longest);
}
