#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qmx::os {

constexpr std::uint32_t kReplacementCharacter = 0xFFFD;

// Appends a code point as UTF-8; a surrogate (Wine writes UTF-16 code units, and a lone one has no
// UTF-8 form) and anything beyond U+10FFFF become U+FFFD.
inline void appendUtf8(std::string& out, std::uint32_t cp)
{
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
        cp = kReplacementCharacter;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes the character at s[i] and moves i past it. Returns false for a byte that starts no valid
// character (a stray continuation byte, a cut sequence, an overlong form, a surrogate, beyond U+10FFFF);
// i then moves on by that one byte only, so decoding resynchronises at the next.
inline bool nextUtf8(std::string_view s, std::size_t& i, std::uint32_t& cp)
{
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
        cp = b;
        ++i;
        return true;
    }
    std::size_t len = 0;
    if ((b & 0xE0) == 0xC0) {
        len = 2;
        cp = b & 0x1Fu;
    } else if ((b & 0xF0) == 0xE0) {
        len = 3;
        cp = b & 0x0Fu;
    } else if ((b & 0xF8) == 0xF0) {
        len = 4;
        cp = b & 0x07u;
    }
    bool valid = len > 0 && i + len <= s.size();
    for (std::size_t k = 1; valid && k < len; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80)
            valid = false;
        else
            cp = (cp << 6) | (c & 0x3Fu);
    }
    static constexpr std::uint32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (valid && (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
        valid = false;
    i += valid ? len : 1;
    return valid;
}

// The text with every byte that starts no valid character replaced by U+FFFD, as Windows decodes it.
inline std::string validUtf8(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t start = i;
        std::uint32_t cp = 0;
        if (nextUtf8(s, i, cp))
            out.append(s.substr(start, i - start));
        else
            appendUtf8(out, kReplacementCharacter);
    }
    return out;
}

// UTF-8 to UTF-16 code units; invalid bytes become U+FFFD.
inline std::u16string utf8ToUtf16(std::string_view s)
{
    std::u16string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        std::uint32_t cp = 0;
        if (!nextUtf8(s, i, cp))
            cp = kReplacementCharacter;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

// UTF-16 code units to UTF-8; a lone surrogate becomes U+FFFD.
inline std::string utf16ToUtf8(std::u16string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        std::uint32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00u);
            ++i;
        }
        appendUtf8(out, cp);
    }
    return out;
}

} // namespace qmx::os
