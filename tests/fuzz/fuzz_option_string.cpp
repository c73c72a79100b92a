// libFuzzer target: the option string reader on arbitrary text, and the writer on what it reads.

#include "core/options/OptionString.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view stored(reinterpret_cast<const char*>(data), size);
    const qmx::options::OptionSet set = qmx::options::restoreOptionSet(stored);
    (void)qmx::options::toolArguments(set, qmx::Page::Bsp);
    (void)qmx::options::toolArguments(set, qmx::Page::Rad);
    // What the writer makes of any set reads back as the same set, and is then written the same again.
    const std::string written = qmx::options::storedOptionString(set);
    const qmx::options::OptionSet again = qmx::options::restoreOptionSet(written);
    if (qmx::options::storedOptionString(again) != written)
        std::abort();
    if (stored.find_first_of("\r\n") == std::string_view::npos && again != set)
        std::abort();
    return 0;
}
