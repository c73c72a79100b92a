// libFuzzer target: edit arbitrary file content with setValue and check that the edit is found again
// and that no other key changed. Input: three length bytes, names and value, then the content.

#include "core/storage/IniFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

std::string_view take(std::string_view& in, std::size_t n)
{
    n = std::min(n, in.size());
    const std::string_view out = in.substr(0, n);
    in.remove_prefix(n);
    return out;
}

// The byte order mark that decides how the file is read, or "".
std::string_view byteOrderMark(std::string_view content)
{
    for (const std::string_view bom : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"}) {
        if (content.substr(0, bom.size()) == bom)
            return bom;
    }
    return {};
}

// The file's characters: bytes, or UTF-16 units in either order (an odd last byte left out).
std::u16string unitsOf(std::string_view content)
{
    const std::string_view bom = byteOrderMark(content);
    std::u16string units;
    if (bom.size() != 2) {
        for (const char c : content)
            units += static_cast<char16_t>(static_cast<unsigned char>(c));
        return units;
    }
    const bool bigEndian = bom[0] == '\xFE';
    for (std::size_t i = 0; i + 1 < content.size(); i += 2) {
        const auto a = static_cast<unsigned char>(content[i]), b = static_cast<unsigned char>(content[i + 1]);
        units += static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    }
    return units;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view in(reinterpret_cast<const char*>(data), size);
    if (in.size() < 3)
        return 0;
    const std::size_t sLen = static_cast<unsigned char>(in[0]) % 12;
    const std::size_t kLen = static_cast<unsigned char>(in[1]) % 12;
    const std::size_t vLen = static_cast<unsigned char>(in[2]) % 40;
    in.remove_prefix(3);
    const std::string_view section = take(in, sLen);
    const std::string_view key = take(in, kLen);
    const std::string_view value = take(in, vLen);
    // A second lookup, named by the content's own first bytes, that the edit must not disturb.
    std::string_view probe = in;
    const std::string_view otherSection = take(probe, 4);
    const std::string_view otherKey = take(probe, 3);
    const std::string_view content = in;

    const auto edited = qmx::ini::setValue(content, section, key, value);
    if (!edited)
        return 0;
    // What the edit stores reads back as the same value stored into an empty file of the same encoding.
    const auto fresh = qmx::ini::setValue(byteOrderMark(content), section, key, value);
    if (!fresh)
        std::abort(); // a refusal depends on the names, not on the content
    if (qmx::ini::findValue(*edited, section, key) != qmx::ini::findValue(*fresh, section, key))
        std::abort();
    if (!qmx::ini::findValue(*edited, section, key))
        std::abort();
    // Another lookup names the same key when it finds something in a file that holds only this one.
    const bool sameKey = qmx::ini::findValue(*fresh, otherSection, otherKey).has_value();
    if (!sameKey
        && qmx::ini::findValue(*edited, otherSection, otherKey) != qmx::ini::findValue(content, otherSection, otherKey))
        std::abort();
    // Writing the same value again changes nothing.
    const auto again = qmx::ini::setValue(*edited, section, key, value);
    if (!again || *again != *edited)
        std::abort();
    // The old content is still all there, in order, around the edit: only the old value part of one line may go.
    // Compared by characters, since a UTF-16 character may hold the byte of a line break.
    const std::u16string before = unitsOf(content), after = unitsOf(*edited);
    const std::size_t prefix = static_cast<std::size_t>(
        std::mismatch(before.begin(), before.end(), after.begin(), after.end()).first - before.begin());
    const std::size_t suffix = static_cast<std::size_t>(
        std::mismatch(before.rbegin(), before.rend() - prefix, after.rbegin(), after.rend() - prefix).first
        - before.rbegin());
    if (before.substr(prefix, before.size() - prefix - suffix).find_first_of(u"\r\n") != std::u16string::npos)
        std::abort();
    // An odd last byte of a UTF-16 file stays the last byte.
    if (byteOrderMark(content).size() == 2 && content.size() % 2 == 1 && edited->back() != content.back())
        std::abort();
    return 0;
}
