#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qmx::os::detail {

// The temporary file's name for a target whose name with ".qmxtmp" would pass the system's limits: "~" and
// a hash of the name, cut to the name's own length, so it fits wherever the target itself fits.
template <typename C> std::basic_string<C> shortTempName(std::basic_string_view<C> name)
{
    std::uint64_t h = 1469598103934665603ull; // FNV-1a
    for (const C c : name) {
        h ^= static_cast<std::uint64_t>(static_cast<std::make_unsigned_t<C>>(c));
        h *= 1099511628211ull;
    }
    std::basic_string<C> out(1, C('~'));
    for (int shift = 60; shift >= 0; shift -= 4)
        out += static_cast<C>("0123456789abcdef"[(h >> shift) & 15]);
    for (const char c : std::string_view(".qmxtmp"))
        out += static_cast<C>(c);
    out.resize(std::min(out.size(), name.size()));
    if (out == name) // never the target itself
        out.back() = out.back() == C('0') ? C('1') : C('0');
    return out;
}

} // namespace qmx::os::detail
