#pragma once

// The option string: one line of five segments joined by "|" that records an option set: the master
// flags; the BSP, VIS and RAD pages (fields joined by ","); the CopyFile flag. A page whose master is off
// is written as a fixed segment of zeros. There is no escaping, so the writer drops "," "|" and line
// breaks from value texts; the reader takes missing segments and fields as unticked and empty, so short or
// damaged text never fails.

#include "core/options/OptionSet.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace qmx::options {

// One page's segment.
std::string serializePage(const OptionSet& set, Page page);
// The masters' and the pages' segments joined by "|", without the copy flag.
std::string serializeAll(const OptionSet& set);
// serializeAll, "|" and the copy flag: what the settings file stores.
std::string storedOptionString(const OptionSet& set);

// A stored string taken apart: the master flags (exactly "1" counts), each page's segment as text, and
// the copy flag.
struct StoredSegments
{
    std::array<bool, 3> masters{};
    std::array<std::string, 3> pages;
    bool copyFile = false;
};
StoredSegments splitStored(std::string_view stored);

// Reads one page's segment into the set. Only ticks: a field other than "1" leaves its option as it is,
// and a value text is taken only when its flag is "1".
void applyPageSegment(OptionSet& set, Page page, std::string_view segment);

// The whole restore: from the default state, the copy flag, then each page whose master flag is "1"
// filled from its segment with its master ticked.
OptionSet restoreOptionSet(std::string_view stored);

// A value text as the option string can hold it: without "," "|" CR and LF.
std::string storableText(std::string_view text);

// The longest option string that the flags alone can make (every value text empty); the six value texts
// together may use the rest of the settings file's 254 bytes, counted in the file's encoding.
std::size_t longestFlagLength();
std::size_t valueTextBudget();

} // namespace qmx::options
