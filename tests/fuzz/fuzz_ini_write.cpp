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
    // What the edit stores reads back as the same value stored into an empty file.
    const auto fresh = qmx::ini::setValue("", section, key, value);
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
    const std::size_t prefix = static_cast<std::size_t>(
        std::mismatch(content.begin(), content.end(), edited->begin(), edited->end()).first - content.begin());
    const std::size_t suffix = static_cast<std::size_t>(
        std::mismatch(content.rbegin(), content.rend() - prefix, edited->rbegin(), edited->rend() - prefix).first
        - content.rbegin());
    if (content.substr(prefix, content.size() - prefix - suffix).find_first_of("\r\n") != std::string_view::npos)
        std::abort();
    return 0;
}
