// libFuzzer target: edit arbitrary file content with setValue. The edit reads back as it does from a file that
// holds only it, another key keeps its value, a second write changes nothing, and all the old content is still
// there around the edit. Input: three length bytes, the names and the value, then the content.

#include "core/storage/IniFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    std::string_view in(reinterpret_cast<const char*>(data + 3), size - 3), part[3];
    for (int i = 0; i < 3; ++i) {
        part[i] = in.substr(0, data[i] % (i == 2 ? 40 : 12));
        in.remove_prefix(part[i].size());
    }
    const auto [section, key, value] = part;
    const std::string_view content = in, otherSection = in.substr(0, 4), otherKey = in.substr(otherSection.size(), 3);
    std::string_view bom;
    for (const std::string_view mark : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"})
        bom = content.substr(0, mark.size()) == mark ? mark : bom;

    using qmx::ini::findValue, qmx::ini::setValue;
    const auto edited = setValue(content, section, key, value);
    if (!edited)
        return 0;
    const auto fresh = setValue(bom, section, key, value); // a refusal depends on the names, not on the content
    if (!fresh || !findValue(*edited, section, key)
        || findValue(*edited, section, key) != findValue(*fresh, section, key))
        std::abort();
    if (!findValue(*fresh, otherSection, otherKey)
        && findValue(*edited, otherSection, otherKey) != findValue(content, otherSection, otherKey))
        std::abort(); // unless the other lookup names the same key
    if (setValue(*edited, section, key, value) != edited)
        std::abort();

    // Only the old value part of one line may go. Compared by characters, since a byte of a UTF-16 character
    // may be that of a line break (an odd last byte is left out, and stays as the unit tests check).
    const auto characters = [&](std::string_view bytes) {
        const std::size_t width = bom.size() == 2 ? 2 : 1;
        std::u16string units;
        for (std::size_t i = 0; i + width <= bytes.size(); i += width) {
            const unsigned a = static_cast<unsigned char>(bytes[i]),
                           b = static_cast<unsigned char>(bytes[i + width - 1]);
            units += static_cast<char16_t>(width == 1 ? a : bom[0] == '\xFE' ? a << 8 | b : b << 8 | a);
        }
        return units;
    };
    const std::u16string before = characters(content), after = characters(*edited);
    const auto prefix = std::mismatch(before.begin(), before.end(), after.begin(), after.end()).first - before.begin();
    const auto suffix
        = std::mismatch(before.rbegin(), before.rend() - prefix, after.rbegin(), after.rend() - prefix).first
        - before.rbegin();
    if (before.substr(prefix, before.size() - prefix - suffix).find_first_of(u"\r\n") != std::u16string::npos)
        std::abort();
    return 0;
}
