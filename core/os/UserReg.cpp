#include "core/os/UserReg.h"

#include "core/os/Ascii.h"
#include "core/os/Utf8.h"

namespace qmx::os {

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = asciiLower(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Key names in the hive are escaped like strings but end at the last ']' instead of a quote.
std::string decodeKeyName(std::string_view raw)
{
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size()) {
            const char c = raw[++i];
            if (c == 'x') {
                unsigned long cp = 0;
                int digits = 0;
                while (digits < 4 && i + 1 < raw.size() && hexDigit(raw[i + 1]) >= 0) {
                    cp = cp * 16 + static_cast<unsigned long>(hexDigit(raw[++i]));
                    ++digits;
                }
                appendUtf8(out, cp);
            } else {
                out += c;
            }
        } else {
            out += raw[i];
        }
    }
    return out;
}

std::string_view trimLine(std::string_view line)
{
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

} // namespace

std::optional<std::string> decodeRegString(std::string_view text, std::size_t pos, std::size_t* end)
{
    if (pos >= text.size() || text[pos] != '"')
        return std::nullopt;
    std::string out;
    std::size_t i = pos + 1;
    while (i < text.size()) {
        const char c = text[i++];
        if (c == '"') {
            if (end)
                *end = i;
            return out;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (i >= text.size())
            break;
        const char e = text[i++];
        switch (e) {
        case 'a':
            out += '\a';
            break;
        case 'b':
            out += '\b';
            break;
        case 'e':
            out += '\x1b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'v':
            out += '\v';
            break;
        case 'x': {
            unsigned long cp = 0;
            int digits = 0;
            while (digits < 4 && i < text.size() && hexDigit(text[i]) >= 0) {
                cp = cp * 16 + static_cast<unsigned long>(hexDigit(text[i++]));
                ++digits;
            }
            appendUtf8(out, cp);
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                unsigned long cp = static_cast<unsigned long>(e - '0');
                int digits = 1;
                while (digits < 3 && i < text.size() && text[i] >= '0' && text[i] <= '7') {
                    cp = cp * 8 + static_cast<unsigned long>(text[i++] - '0');
                    ++digits;
                }
                appendUtf8(out, cp);
            } else {
                out += e;
            }
        }
    }
    return std::nullopt; // no closing quote
}

std::optional<std::string> findUserRegString(std::string_view hiveText, std::string_view keyPath,
                                             std::string_view valueName)
{
    bool inKey = false;
    std::size_t pos = 0;
    while (pos < hiveText.size()) {
        std::size_t eol = hiveText.find('\n', pos);
        if (eol == std::string_view::npos)
            eol = hiveText.size();
        const std::string_view line = trimLine(hiveText.substr(pos, eol - pos));
        pos = eol + 1;
        if (line.empty())
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.rfind(']');
            if (close == std::string_view::npos || close == 0) {
                inKey = false;
                continue;
            }
            const std::string name = decodeKeyName(line.substr(1, close - 1));
            // Wine doubles the separators inside the bracket; after unescaping they are single.
            inKey = iequals(name, keyPath);
            continue;
        }
        if (!inKey)
            continue;
        std::string name;
        std::size_t after = 0;
        if (line.front() == '@') {
            after = 1;
        } else if (line.front() == '"') {
            auto decoded = decodeRegString(line, 0, &after);
            if (!decoded)
                continue;
            name = std::move(*decoded);
        } else {
            continue;
        }
        if (!iequals(name, valueName))
            continue;
        while (after < line.size() && (line[after] == ' ' || line[after] == '\t'))
            ++after;
        if (after >= line.size() || line[after] != '=')
            continue;
        ++after;
        while (after < line.size() && (line[after] == ' ' || line[after] == '\t'))
            ++after;
        // Only a plain quoted value is REG_SZ; str(2):, str(7):, dword:, hex: are other types.
        auto data = decodeRegString(line, after, nullptr);
        if (!data)
            return std::nullopt;
        const std::size_t nul = data->find('\0');
        if (nul != std::string::npos)
            data->resize(nul);
        return data;
    }
    return std::nullopt;
}

} // namespace qmx::os
