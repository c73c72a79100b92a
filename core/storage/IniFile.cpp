#include "core/storage/IniFile.h"

#include "core/os/Ascii.h"
#include "core/os/Os.h"

#include <vector>

namespace qmx::ini {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// Far beyond any settings or language file; a bigger file is treated as unreadable.
constexpr std::size_t kMaxFileBytes = 32u << 20;

bool isProfileSpace(char c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == ' ';
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && isProfileSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isProfileSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

bool isUtf16(std::string_view content)
{
    return content.size() >= 2
        && ((content[0] == '\xFF' && content[1] == '\xFE') || (content[0] == '\xFE' && content[1] == '\xFF'));
}

bool hasUtf8Bom(std::string_view content)
{
    return content.substr(0, 3) == kUtf8Bom;
}

// One line of the file: [begin, contentEnd) is its text, [contentEnd, end) its line break.
struct Line
{
    std::size_t begin;
    std::size_t contentEnd;
    std::size_t end;
};

// Calls f(line) for each line until f returns false. CR LF, LF and CR each end one line.
template <typename F> void forEachLine(std::string_view content, std::size_t from, F f)
{
    std::size_t pos = from;
    while (pos < content.size()) {
        std::size_t eol = pos;
        while (eol < content.size() && content[eol] != '\r' && content[eol] != '\n')
            ++eol;
        std::size_t next = eol;
        if (next < content.size()) {
            if (content[next] == '\r' && next + 1 < content.size() && content[next + 1] == '\n')
                next += 2;
            else
                next += 1;
        }
        if (!f(Line{pos, eol, next}))
            return;
        pos = next;
    }
}

enum class LineType
{
    Blank,
    Comment,
    Section,
    Key
};

struct Parsed
{
    LineType type = LineType::Blank;
    std::string_view name; // section or key name, trimmed
    std::size_t equals = 0; // offset of '=' in the file, or npos for a key without one
};

Parsed parseLine(std::string_view content, const Line& line)
{
    Parsed p;
    const std::string_view raw = content.substr(line.begin, line.contentEnd - line.begin);
    const std::string_view text = trim(raw);
    if (text.empty())
        return p;
    if (text.front() == ';') {
        p.type = LineType::Comment;
        return p;
    }
    if (text.front() == '[') {
        const std::size_t close = text.rfind(']');
        if (close != std::string_view::npos) {
            p.type = LineType::Section;
            p.name = trim(text.substr(1, close - 1));
            return p;
        }
        // No closing bracket: the profile functions take the line for a key.
    }
    p.type = LineType::Key;
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos) {
        p.name = text;
        p.equals = std::string_view::npos;
    } else {
        p.name = trim(text.substr(0, eq));
        p.equals = static_cast<std::size_t>(text.data() - content.data()) + eq;
    }
    return p;
}

// Where the key sits, found with the reader's rules.
struct Location
{
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine{};
    Parsed key;
    std::size_t insertAt = 0; // after the section's last non-blank line
    bool insertNeedsBreak = false; // that line has no line break of its own
};

Location locate(std::string_view content, std::size_t from, std::string_view section, std::string_view key)
{
    Location loc;
    // Keys above the first section header belong to a section without a name.
    bool inSection = section.empty();
    loc.sectionFound = inSection;
    if (inSection)
        loc.insertAt = from;
    forEachLine(content, from, [&](const Line& line) {
        const Parsed p = parseLine(content, line);
        if (p.type == LineType::Section) {
            if (inSection)
                return false; // only the first section of a name counts
            if (qmx::os::iequals(p.name, section)) {
                inSection = true;
                loc.sectionFound = true;
                loc.insertAt = line.end;
                loc.insertNeedsBreak = line.end == line.contentEnd;
            }
            return true;
        }
        if (!inSection || p.type == LineType::Blank)
            return true;
        loc.insertAt = line.end;
        loc.insertNeedsBreak = line.end == line.contentEnd;
        if (p.type == LineType::Key && qmx::os::iequals(p.name, key)) {
            loc.keyFound = true;
            loc.keyLine = line;
            loc.key = p;
            return false;
        }
        return true;
    });
    return loc;
}

// The value part of a key line, [first, last), trimmed.
std::pair<std::size_t, std::size_t> valueRange(std::string_view content, const Line& line, const Parsed& key)
{
    std::size_t last = line.contentEnd;
    while (last > line.begin && isProfileSpace(content[last - 1]))
        --last;
    if (key.equals == std::string_view::npos)
        return {last, last};
    std::size_t first = key.equals + 1;
    while (first < last && isProfileSpace(content[first]))
        ++first;
    return {first, last};
}

std::string lineBreakOf(std::string_view content)
{
    const std::size_t pos = content.find_first_of("\r\n");
    if (pos == std::string_view::npos)
        return "\r\n"; // a new file gets Windows line ends
    if (content[pos] == '\n')
        return "\n";
    if (pos + 1 < content.size() && content[pos + 1] == '\n')
        return "\r\n";
    return "\r";
}

std::string withoutLineBreaks(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        if (c != '\r' && c != '\n' && c != '\0')
            out += c;
    }
    return out;
}

// Cuts UTF-8 text to at most max bytes without splitting a character.
std::string cutUtf8(std::string s, std::size_t max)
{
    if (s.size() <= max)
        return s;
    std::size_t n = max;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
        --n;
    s.resize(n);
    return s;
}

} // namespace

std::optional<std::string> findValue(std::string_view content, std::string_view section, std::string_view key)
{
    if (isUtf16(content))
        return std::nullopt;
    section = trim(section);
    key = trim(key);
    if (key.empty())
        return std::nullopt;
    const std::size_t from = hasUtf8Bom(content) ? kUtf8Bom.size() : 0;
    const Location loc = locate(content, from, section, key);
    // A key line without '=' has no value at all: the Windows functions give the default for it.
    if (!loc.keyFound || loc.key.equals == std::string_view::npos)
        return std::nullopt;
    const auto [first, last] = valueRange(content, loc.keyLine, loc.key);
    std::string_view value = content.substr(first, last - first);
    // The profile functions work on NUL-terminated strings: a NUL ends the value.
    const std::size_t nul = value.find('\0');
    if (nul != std::string_view::npos)
        value = value.substr(0, nul);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::optional<std::string> setValue(std::string_view content, std::string_view section, std::string_view key,
                                    std::string_view value)
{
    if (isUtf16(content))
        return std::nullopt;
    const std::string_view sectionName = trim(section);
    const std::string_view keyName = trim(key);
    // Names that the reader could not find again are refused rather than written.
    constexpr std::string_view kLineBreakOrNul("\r\n\0", 3);
    if (sectionName.empty() || keyName.empty() || keyName.find('=') != std::string_view::npos || keyName.front() == '['
        || keyName.front() == ';' || sectionName.find_first_of(kLineBreakOrNul) != std::string_view::npos
        || keyName.find_first_of(kLineBreakOrNul) != std::string_view::npos)
        return std::nullopt;
    // Blanks at the ends could not be read back (the reader trims them), so they are not written.
    const std::string newValue(trim(withoutLineBreaks(value)));
    const std::size_t from = hasUtf8Bom(content) ? kUtf8Bom.size() : 0;
    const Location loc = locate(content, from, sectionName, keyName);
    std::string out;
    if (loc.keyFound) {
        const auto [first, last] = valueRange(content, loc.keyLine, loc.key);
        const bool needsEquals = loc.key.equals == std::string_view::npos;
        out.reserve(content.size() + newValue.size() + 1);
        out.append(content.substr(0, first));
        if (needsEquals)
            out += '=';
        out += newValue;
        out.append(content.substr(last));
        return out;
    }
    const std::string br = lineBreakOf(content);
    const std::string keyLine = std::string(keyName) + "=" + newValue;
    if (loc.sectionFound) {
        out.append(content.substr(0, loc.insertAt));
        if (loc.insertNeedsBreak)
            out += br + keyLine;
        else
            out += keyLine + br;
        out.append(content.substr(loc.insertAt));
        return out;
    }
    out.assign(content);
    if (out.size() > from && out.back() != '\n' && out.back() != '\r')
        out += br;
    out += "[" + std::string(sectionName) + "]" + br + keyLine + br;
    return out;
}

std::string readValue(std::string_view path, std::string_view section, std::string_view key, std::string_view def)
{
    std::string content;
    if (!qmx::os::readFile(path, content, kMaxFileBytes) || isUtf16(content))
        return std::string(def);
    if (hasUtf8Bom(content)) {
        auto value = findValue(content, section, key);
        return value ? cutUtf8(std::move(*value), kMaxValueBytes) : std::string(def);
    }
    auto value = findValue(content, qmx::os::toAnsi(section), qmx::os::toAnsi(key));
    if (!value)
        return std::string(def);
    if (value->size() > kMaxValueBytes)
        value->resize(kMaxValueBytes);
    return qmx::os::fromAnsi(*value);
}

bool writeValue(std::string_view path, std::string_view section, std::string_view key, std::string_view value)
{
    std::string content;
    if (!qmx::os::readFile(path, content, kMaxFileBytes)) {
        // Only a file that is not there may be created; one we cannot read must not be replaced.
        if (qmx::os::fileExists(path) || qmx::os::directoryExists(path))
            return false;
        content.clear();
    }
    std::optional<std::string> updated;
    if (hasUtf8Bom(content))
        updated = setValue(content, section, key, value);
    else
        updated = setValue(content, qmx::os::toAnsi(section), qmx::os::toAnsi(key), qmx::os::toAnsi(value));
    if (!updated)
        return false;
    if (*updated == content && !content.empty())
        return true;
    return qmx::os::replaceFile(path, *updated);
}

} // namespace qmx::ini
