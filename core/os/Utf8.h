#pragma once

#include <cstdint>
#include <string>

namespace qmx::os {

// Appends a code point of the Basic Multilingual Plane as UTF-8; a lone surrogate (Wine writes
// UTF-16 code units) has no UTF-8 form and becomes U+FFFD.
inline void appendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            cp = 0xFFFD;
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace qmx::os
