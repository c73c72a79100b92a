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

// Decodes the character at s[i] and moves i past it. Returns false for bytes that form no valid character;
// i then moves past the longest start of a valid sequence there (at least one byte), so a broken
// sequence counts once: the Unicode standard's recommended practice for U+FFFD.
inline bool nextUtf8(std::string_view s, std::size_t& i, std::uint32_t& cp)
{
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
        cp = b;
        ++i;
        return true;
    }
    // The sequence's length and the range of its second byte, which rules out overlong forms,
    // surrogates and anything beyond U+10FFFF; later bytes are 80..BF.
    std::size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        lo = b == 0xE0 ? 0xA0 : 0x80;
        hi = b == 0xED ? 0x9F : 0xBF;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        lo = b == 0xF0 ? 0x90 : 0x80;
        hi = b == 0xF4 ? 0x8F : 0xBF;
    }
    cp = b & (0x7Fu >> len);
    std::size_t k = 1;
    for (; k < len && i + k < s.size(); ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if (c < lo || c > hi)
            break;
        cp = (cp << 6) | (c & 0x3Fu);
        lo = 0x80;
        hi = 0xBF;
    }
    i += k;
    return len > 0 && k == len;
}

// The text with every broken sequence replaced by one U+FFFD, as Windows decodes it.
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

// UTF-8 to UTF-16 code units; a broken sequence becomes U+FFFD.
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
