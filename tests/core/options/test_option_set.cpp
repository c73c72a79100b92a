// The option set without a window: the option string both ways, the value budget. (The switch texts:
// compile.bat's bytes in the compile plan's test; damaged strings: the preset slots' test and the fuzz target.)

#include "core/options/OptionString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace qmx::options;
using qmx::Page;

namespace {

// The pages after the masters, every option unticked; an unticked RAD page has one zero more than its fields.
const std::string kUnticked = "|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|";

// {"BSP", "BSPnowater", "BSPluxelscale=2", "CopyFile"}: masters, options and value texts by name.
OptionSet setOf(const std::vector<std::string>& ticks)
{
    OptionSet set;
    for (const std::string& word : ticks) {
        const std::string name = word.substr(0, word.find('='));
        if (name == "CopyFile")
            set.copyFile = true;
        else if (name == "BSP" || name == "VIS" || name == "RAD")
            set.setMaster(name == "BSP" ? Page::Bsp : name == "VIS" ? Page::Vis : Page::Rad, true);
        else
            set.option(name) = {true, word.size() > name.size() ? word.substr(name.size() + 1) : ""};
    }
    return set;
}

} // namespace

// Each option at its place, as settings files of every earlier version hold them. An unticked page records
// nothing of what its controls hold; a ticked value option records its text, without separators and line breaks.
TEST(OptionString, EachOptionAtItsPlace)
{
    // ticks, stored text, whether the restored set equals the written one (nothing unrecorded was ticked)
    const std::tuple<std::vector<std::string>, std::string, bool> cases[] = {
        {{"BSP", "VIS", "RAD", "BSPnowater", "BSPluxelscale=2", "VISfast", "RADfast", "RADbounce=8", "CopyFile"},
         "1,1,1|0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,1,2|1,0,0|1,0,0,0,0,0,0,0,0,0,0,1,8,0,0,0,0|1",
         true},
        {{"VIS", "BSPnowater", "RADfast"}, "0,1,0" + kUnticked + "0", false},
        {{"RAD"}, "0,0,1|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0", true},
        {{"BSP", "BSPblocks", "RAD", "RADlights=a,b|c\r\nd e"},
         "1,0,1|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1,,0,0|0,0,0|0,0,0,0,0,0,0,0,0,1,abcd e,0,0,0,0,0,0|0",
         false},
    };
    for (const auto& [ticks, stored, exact] : cases) {
        SCOPED_TRACE(stored);
        EXPECT_EQ(storedOptionString(setOf(ticks)), stored);
        EXPECT_EQ(storedOptionString(restoreOptionSet(stored)), stored);
        EXPECT_EQ(restoreOptionSet(stored) == setOf(ticks), exact);
    }
}

// The value texts' budget: no combination of ticks, with every text empty, writes more than the longest flag
// part, and some combination writes exactly that. (The window's tests fill the boxes to the budget.)
TEST(OptionString, LongestFlagPartOfAllCombinations)
{
    std::vector<const qmx::OptionEntry*> values;
    for (const qmx::OptionEntry& entry : qmx::optionCatalogue())
        if (entry.kind == qmx::OptionKind::Value)
            values.push_back(&entry);
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
}
