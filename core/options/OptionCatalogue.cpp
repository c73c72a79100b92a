#include "core/options/OptionCatalogue.h"

#include <algorithm>

namespace qmx {

namespace {
constexpr OptionKind F = OptionKind::Flag;
constexpr OptionKind V = OptionKind::Value;
constexpr Page B = Page::Bsp;
constexpr Page Vi = Page::Vis;
constexpr Page R = Page::Rad;
} // namespace

const std::vector<OptionEntry>& optionCatalogue()
{
    // Names follow the saved settings, so the misspellings (BSPonlyporps, BSPdumbcollide) stay.
    static const std::vector<OptionEntry> table = {
        {"BSPleaktest", F, "LeakTest", B, 1, "-leaktest", nullptr, 0},
        {"BSPonlyents", F, "Only Entities", B, 1, " -onlyents", nullptr, 1},
        {"BSPonlyporps", F, "Only Props", B, 1, " -onlyprops", nullptr, 2},
        {"BSPnoweld", F, "No Weld", B, 1, " -noweld", nullptr, 3},
        {"BSPnodetail", F, "No Detail", B, 1, " -nodetail", nullptr, 4},
        {"BSPnowater", F, "No Water", B, 1, " -nowater", nullptr, 5},
        {"BSPnocsg", F, "No CSG", B, 2, " -nocsg", nullptr, 6},
        {"BSPnoshare", F, "No Share", B, 2, " -noshare", nullptr, 7},
        {"BSPnoTjunc", F, "no T-Junc", B, 2, " -notjunc", nullptr, 8},
        {"BSPnomerge", F, "No merge", B, 2, " -nomerge", nullptr, 9},
        {"BSPnowatermerge", F, "No water merge", B, 2, " -nowatermerge", nullptr, 10},
        {"BSPnoprune", F, "No Prune", B, 3, " -noprune", nullptr, 11},
        {"BSPnosubdiv", F, "No Subdiv", B, 3, " -nosubdiv", nullptr, 12},
        {"BSPfulldetail", F, "Full Detail", B, 3, " -fulldetail", nullptr, 13},
        {"BSPdumbcollide", F, "Dump Collide", B, 3, " -dumpcollide", nullptr, 14},
        {"BSPdumpstaticprops", F, "Dump Static Props", B, 3, " -dumpstaticprops", nullptr, 15},
        {"BSPblocks", V, "Blocks", B, 4, " -blocks ", "BSPblocks_text", 16},
        {"BSPluxelscale", V, "Luxelscale", B, 4, " -luxelscale ", "BSPluxelscale_text", 17},

        {"VISfast", F, "fast", Vi, 1, "-fast", nullptr, 0},
        {"VISnosort", F, "No sort", Vi, 1, " -nosort", nullptr, 1},
        {"VISradiusoverride", F, "Radius override", Vi, 1, " -radiusoverride", nullptr, 2},

        {"RADfast", F, "fast", R, 1, "-fast", nullptr, 0},
        {"RADrederror", F, "Red Error", R, 1, " -rederror", nullptr, 1},
        {"RADnoextra", F, "No Extra", R, 1, " -noextra", nullptr, 2},
        {"RADdump", F, "Dump", R, 1, " -dump", nullptr, 3},
        {"RADdumpnormals", F, "Dump normals", R, 1, " -dumpnormals", nullptr, 4},
        {"RADstoponexit", F, "Stop on Exit", R, 2, " -stoponexit", nullptr, 5},
        {"RADdlightmap", F, "dLightMap", R, 2, " -dlightmap", nullptr, 6},
        {"RADonlydetail", F, "Only detail", R, 2, " -onlydetail", nullptr, 7},
        {"RADnodetaillight", F, "No detail light", R, 2, " -nodetaillight", nullptr, 8},
        // Lights is recorded first among the value options but goes last on the command line.
        {"RADlights", V, "Lights", R, 2, " -lights ", "RADlights_text", 12},
        {"RADbounce", V, "Bounce", R, 3, " -bounce ", "RADbounce_text", 9},
        {"RADluxdensity", V, "Luxdensity", R, 3, " -luxdensity ", "RADluxdensity_text", 10},
        {"RADmaxdispsamplesize", V, "MaxDispSampleSize", R, 3, " -maxdispsamplesize ", "RADmaxdispsamplesize_text", 11},
    };
    return table;
}

const std::vector<PageInfo>& pageCatalogue()
{
    // An unticked RAD page is written with one zero more than a ticked one has fields; stored
    // settings hold it that way.
    static const std::vector<PageInfo> pages = {
        {Page::Bsp, "BSP", "BSP-", 20},
        {Page::Vis, "VIS", "VIS-", 3},
        {Page::Rad, "RAD", "RAD-", 18},
    };
    return pages;
}

const PageInfo& pageInfo(Page page)
{
    return pageCatalogue().at(static_cast<size_t>(page));
}

std::vector<const OptionEntry*> pageOptions(Page page)
{
    std::vector<const OptionEntry*> result;
    for (const OptionEntry& entry : optionCatalogue()) {
        if (entry.page == page)
            result.push_back(&entry);
    }
    return result;
}

std::vector<const OptionEntry*> commandLineOptions(Page page)
{
    std::vector<const OptionEntry*> result = pageOptions(page);
    std::stable_sort(result.begin(), result.end(),
                     [](const OptionEntry* a, const OptionEntry* b) { return a->commandOrder < b->commandOrder; });
    return result;
}

const OptionEntry* findOption(std::string_view controlName)
{
    for (const OptionEntry& entry : optionCatalogue()) {
        if (controlName == entry.name || (entry.textBoxName && controlName == entry.textBoxName))
            return &entry;
    }
    return nullptr;
}

std::size_t optionIndex(const OptionEntry& entry)
{
    return static_cast<std::size_t>(&entry - optionCatalogue().data());
}

} // namespace qmx
