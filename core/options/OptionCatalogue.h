#pragma once

// The one table of the option controls on the three tool pages. Control creation, the option string,
// the command lines and the page rules all walk it.

#include <cstddef>
#include <string_view>
#include <vector>

namespace qmx {

enum class Page
{
    Bsp = 0,
    Vis = 1,
    Rad = 2
};

enum class OptionKind
{
    Flag,
    Value
};

struct OptionEntry
{
    const char* name; // check box name, e.g. "BSPnowater"
    OptionKind kind;
    const char* caption; // fixed, never from the language file
    Page page;
    int row; // 1-based row on its page
    const char* switchText; // exact command-line literal with its spacing (" -nowater", " -blocks ")
    const char* textBoxName; // value text box ("BSPblocks_text"); nullptr for a flag
    int commandOrder; // position on the tool's command line within the page
};

struct PageInfo
{
    Page page;
    const char* master; // master check box name, also the ApplyOptionString section
    const char* tabPrefix; // tab caption before the language text
    int uncheckedZeroCount; // fields of the all-zero part written when the master is unticked
};

// Every option control of all pages, each page in option-string order (reading order on the page).
const std::vector<OptionEntry>& optionCatalogue();
// The three pages in tab order.
const std::vector<PageInfo>& pageCatalogue();
const PageInfo& pageInfo(Page page);

// One page's options in option-string order.
std::vector<const OptionEntry*> pageOptions(Page page);
// One page's options in command-line order.
std::vector<const OptionEntry*> commandLineOptions(Page page);
// The entry whose check box or text box has this name, or nullptr.
const OptionEntry* findOption(std::string_view controlName);
// The entry's position in optionCatalogue().
std::size_t optionIndex(const OptionEntry& entry);

} // namespace qmx
