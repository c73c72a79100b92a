#include "core/options/OptionSet.h"

#include <stdexcept>

namespace qmx::options {

OptionSet::OptionSet()
    : m_options(optionCatalogue().size())
{
}

const OptionState& OptionSet::option(std::string_view name) const
{
    const OptionEntry* entry = findOption(name);
    if (!entry)
        throw std::out_of_range("no option control named " + std::string(name));
    return (*this)[*entry];
}

OptionState& OptionSet::option(std::string_view name)
{
    return const_cast<OptionState&>(static_cast<const OptionSet&>(*this).option(name));
}

bool OptionSet::operator==(const OptionSet& other) const
{
    return m_masters == other.m_masters && m_options == other.m_options && copyFile == other.copyFile;
}

std::string toolArguments(const OptionSet& set, Page page)
{
    if (!set.master(page))
        return {};
    // The spacing lives in the switch literals alone.
    std::string result;
    for (const OptionEntry* entry : commandLineOptions(page)) {
        const OptionState& state = set[*entry];
        if (!state.ticked)
            continue;
        result += entry->switchText;
        if (entry->kind == OptionKind::Value)
            result += state.text;
    }
    return result;
}

} // namespace qmx::options
