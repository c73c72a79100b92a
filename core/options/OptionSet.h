#pragma once

// The whole option state as a value: the three master check boxes, every option control of the
// catalogue with its value text, and the CopyFile check box. The window moves its controls to and from
// one of these; the option string, the switch texts and the terminal command work on it alone.

#include "core/options/OptionCatalogue.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qmx::options {

// One option control: its check box, and for a value option the text of its text box.
struct OptionState
{
    bool ticked = false;
    std::string text;

    bool operator==(const OptionState& other) const { return ticked == other.ticked && text == other.text; }
};

class OptionSet
{
public:
    // Everything unticked and empty: the window's default state.
    OptionSet();

    bool master(Page page) const { return m_masters[static_cast<std::size_t>(page)]; }
    void setMaster(Page page, bool on) { m_masters[static_cast<std::size_t>(page)] = on; }

    const OptionState& operator[](const OptionEntry& entry) const { return m_options[optionIndex(entry)]; }
    OptionState& operator[](const OptionEntry& entry) { return m_options[optionIndex(entry)]; }
    // By check box or text box name; throws std::out_of_range for a name the catalogue does not have.
    const OptionState& option(std::string_view name) const;
    OptionState& option(std::string_view name);

    bool copyFile = false;

    bool operator==(const OptionSet& other) const;
    bool operator!=(const OptionSet& other) const { return !(*this == other); }

private:
    std::array<bool, 3> m_masters{};
    std::vector<OptionState> m_options;
};

// The switch text of a tool's command line: empty when its master is off; otherwise the switch of every
// ticked option in command-line order, a value option followed by its text exactly as it stands.
std::string toolArguments(const OptionSet& set, Page page);

} // namespace qmx::options
