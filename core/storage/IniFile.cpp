#include "core/storage/IniFile.h"

#include "core/os/Os.h"
#include "core/os/Utf8.h"

namespace qmx::ini {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// Far beyond any settings or language file. A bigger file reads as missing and is never rewritten; the
// README says so.
constexpr std::size_t kMaxFileBytes = 32u << 20;
constexpr std::size_t npos = std::string_view::npos;

template <typename C> using View = std::basic_string_view<C>;
template <typename C> using Text = std::basic_string<C>;

// The encodings the Windows profile functions recognise by their byte order marks.
enum class Encoding
{
    Ansi,
    Utf8,
    Utf16Le,
    Utf16Be
};

Encoding encodingOf(std::string_view content)
{
    if (content.substr(0, 3) == kUtf8Bom)
        return Encoding::Utf8;
    if (content.size() >= 2 && content[0] == '\xFF' && content[1] == '\xFE')
        return Encoding::Utf16Le;
    if (content.size() >= 2 && content[0] == '\xFE' && content[1] == '\xFF')
        return Encoding::Utf16Be;
    return Encoding::Ansi;
}

// A UTF-16 file as code units (the byte order mark included), and an odd last byte, which is no
// character: it is not read and is put back unchanged on writing.
struct Utf16File
{
    std::u16string units;
    std::string_view oddByte;
    bool bigEndian = false;
};

Utf16File decodeUtf16(std::string_view bytes, bool bigEndian)
{
    Utf16File f;
    f.bigEndian = bigEndian;
    f.units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        f.units += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    f.oddByte = bytes.substr(bytes.size() & ~std::size_t(1));
    return f;
}

std::string encodeUtf16(const Utf16File& f, std::u16string_view units)
{
    std::string out;
    out.reserve(units.size() * 2 + f.oddByte.size());
    for (const char16_t u : units) {
        const auto high = static_cast<char>(u >> 8);
        const auto low = static_cast<char>(u & 0xFF);
        out += f.bigEndian ? high : low;
        out += f.bigEndian ? low : high;
    }
    out.append(f.oddByte);
    return out;
}

// The parser works on code units: bytes for ANSI and UTF-8 files, UTF-16 units for UTF-16 files. Every
// character it looks for is ASCII, which is one unit in each.

template <typename C> bool isProfileSpace(C c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == ' ';
}

template <typename C> View<C> trim(View<C> s)
{
    while (!s.empty() && isProfileSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isProfileSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// A section or key name as the profile functions compare it: trimmed, then ended at its first NUL, since
// they keep names as C strings (so a blank in front of that NUL stays part of the name).
template <typename C> View<C> nameOf(View<C> s)
{
    s = trim(s);
    return s.substr(0, s.find(C(0)));
}

template <typename C> bool namesEqual(View<C> a, View<C> b)
{
    if (a.size() != b.size())
        return false;
    const auto lower = [](C c) { return (c >= 'A' && c <= 'Z') ? static_cast<C>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// One line of the file: [begin, contentEnd) is its text, [contentEnd, end) its line break.
struct Line
{
    std::size_t begin;
    std::size_t contentEnd;
    std::size_t end;
};

// Calls f(line) for each line until f returns false. CR LF, LF and CR each end one line.
template <typename C, typename F> void forEachLine(View<C> content, std::size_t from, F f)
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

template <typename C> struct Parsed
{
    LineType type = LineType::Blank;
    View<C> name; // section or key name as compared
    std::size_t equals = 0; // offset of '=' in the file, or npos for a key without one
};

template <typename C> Parsed<C> parseLine(View<C> content, const Line& line)
{
    Parsed<C> p;
    const View<C> text = trim(content.substr(line.begin, line.contentEnd - line.begin));
    if (text.empty())
        return p;
    if (text.front() == ';') {
        p.type = LineType::Comment;
        return p;
    }
    if (text.front() == '[') {
        const std::size_t close = text.rfind(C(']'));
        if (close != npos) {
            p.type = LineType::Section;
            p.name = nameOf(text.substr(1, close - 1));
            return p;
        }
        // No closing bracket: the profile functions take the line for a key.
    }
    p.type = LineType::Key;
    const std::size_t eq = text.find(C('='));
    if (eq == npos) {
        p.name = nameOf(text);
        p.equals = npos;
    } else {
        p.name = nameOf(text.substr(0, eq));
        p.equals = static_cast<std::size_t>(text.data() - content.data()) + eq;
    }
    return p;
}

// Where the key sits, found with the reader's rules.
template <typename C> struct Location
{
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine{};
    Parsed<C> key;
    std::size_t insertAt = 0; // after the section's last non-blank line
    bool insertNeedsBreak = false; // that line has no line break of its own
};

template <typename C> Location<C> locate(View<C> content, std::size_t from, View<C> section, View<C> key)
{
    Location<C> loc;
    // Keys above the first section header belong to a section without a name.
    bool inSection = section.empty();
    loc.sectionFound = inSection;
    if (inSection)
        loc.insertAt = from;
    forEachLine(content, from, [&](const Line& line) {
        const Parsed<C> p = parseLine(content, line);
        if (p.type == LineType::Section) {
            if (inSection)
                return false; // only the first section of a name counts
            if (namesEqual(p.name, section)) {
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
        if (p.type == LineType::Key && namesEqual(p.name, key)) {
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
template <typename C>
std::pair<std::size_t, std::size_t> valueRange(View<C> content, const Line& line, const Parsed<C>& key)
{
    std::size_t last = line.contentEnd;
    while (last > line.begin && isProfileSpace(content[last - 1]))
        --last;
    if (key.equals == npos)
        return {last, last};
    std::size_t first = key.equals + 1;
    while (first < last && isProfileSpace(content[first]))
        ++first;
    return {first, last};
}

template <typename C> Text<C> lineBreakOf(View<C> content)
{
    const C crlf[] = {'\r', '\n'};
    const std::size_t pos = content.find_first_of(crlf, 0, 2);
    if (pos == npos)
        return Text<C>(crlf, 2); // a new file gets Windows line ends
    if (content[pos] == '\n')
        return Text<C>(1, C('\n'));
    if (pos + 1 < content.size() && content[pos + 1] == '\n')
        return Text<C>(crlf, 2);
    return Text<C>(1, C('\r'));
}

template <typename C> Text<C> withoutLineBreaks(View<C> s)
{
    Text<C> out;
    out.reserve(s.size());
    for (const C c : s) {
        if (c != '\r' && c != '\n' && c != 0)
            out += c;
    }
    return out;
}

template <typename C> std::optional<Text<C>> lookUp(View<C> content, std::size_t from, View<C> section, View<C> key)
{
    section = nameOf(section);
    key = nameOf(key);
    if (key.empty())
        return std::nullopt;
    const Location<C> loc = locate(content, from, section, key);
    // A key line without '=' has no value at all: the Windows functions give the default for it.
    if (!loc.keyFound || loc.key.equals == npos)
        return std::nullopt;
    const auto [first, last] = valueRange(content, loc.keyLine, loc.key);
    View<C> value = content.substr(first, last - first);
    // The profile functions work on NUL-terminated strings: a NUL ends the value.
    value = value.substr(0, value.find(C(0)));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return Text<C>(value);
}

template <typename C>
std::optional<Text<C>> edit(View<C> content, std::size_t from, View<C> section, View<C> key, View<C> value)
{
    const View<C> sectionName = trim(section);
    const View<C> keyName = trim(key);
    // Names that the reader could not find again are refused rather than written.
    const C breakOrNul[] = {'\r', '\n', 0};
    if (sectionName.empty() || keyName.empty() || keyName.find(C('=')) != npos || keyName.front() == '['
        || keyName.front() == ';' || sectionName.find_first_of(breakOrNul, 0, 3) != npos
        || keyName.find_first_of(breakOrNul, 0, 3) != npos)
        return std::nullopt;
    // Blanks at the ends could not be read back (the reader trims them), so they are not written.
    const Text<C> cleaned = withoutLineBreaks(value);
    const View<C> newValue = trim(View<C>(cleaned));
    const Location<C> loc = locate(content, from, sectionName, keyName);
    Text<C> out;
    if (loc.keyFound) {
        const auto [first, last] = valueRange(content, loc.keyLine, loc.key);
        out.reserve(content.size() + newValue.size() + 1);
        out.append(content.substr(0, first));
        if (loc.key.equals == npos)
            out += C('=');
        out.append(newValue);
        out.append(content.substr(last));
        return out;
    }
    const Text<C> br = lineBreakOf(content);
    Text<C> keyLine(keyName);
    keyLine += C('=');
    keyLine.append(newValue);
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
    out += C('[');
    out.append(sectionName);
    out += C(']');
    out += br + keyLine + br;
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
    switch (encodingOf(content)) {
    case Encoding::Ansi:
        return lookUp(content, 0, section, key);
    case Encoding::Utf8:
        return lookUp(content, kUtf8Bom.size(), section, key);
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
        break;
    }
    const Utf16File file = decodeUtf16(content, encodingOf(content) == Encoding::Utf16Be);
    const auto value = lookUp<char16_t>(file.units, 1, os::utf8ToUtf16(section), os::utf8ToUtf16(key));
    return value ? std::optional<std::string>(os::utf16ToUtf8(*value)) : std::nullopt;
}

std::optional<std::string> setValue(std::string_view content, std::string_view section, std::string_view key,
                                    std::string_view value)
{
    switch (encodingOf(content)) {
    case Encoding::Ansi:
        return edit(content, 0, section, key, value);
    case Encoding::Utf8:
        return edit(content, kUtf8Bom.size(), section, key, value);
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
        break;
    }
    const Utf16File file = decodeUtf16(content, encodingOf(content) == Encoding::Utf16Be);
    const auto edited
        = edit<char16_t>(file.units, 1, os::utf8ToUtf16(section), os::utf8ToUtf16(key), os::utf8ToUtf16(value));
    return edited ? std::optional<std::string>(encodeUtf16(file, *edited)) : std::nullopt;
}

std::string readValue(std::string_view path, std::string_view section, std::string_view key, std::string_view def)
{
    std::string content;
    if (!qmx::os::readFile(path, content, kMaxFileBytes))
        return std::string(def);
    if (encodingOf(content) == Encoding::Ansi) {
        auto value = findValue(content, os::toAnsi(section), os::toAnsi(key));
        if (!value)
            return std::string(def);
        if (value->size() > kMaxValueBytes)
            value->resize(kMaxValueBytes);
        return os::fromAnsi(*value);
    }
    // UTF-8 as the file holds it may be broken; what we hand on is valid text.
    const auto value = findValue(content, section, key);
    return value ? cutUtf8(os::validUtf8(*value), kMaxValueBytes) : std::string(def);
}

std::size_t storedValueBytes(std::string_view path, std::string_view value)
{
    std::string content;
    qmx::os::readFile(path, content, kMaxFileBytes);
    return encodingOf(content) == Encoding::Ansi ? os::toAnsi(value).size() : value.size();
}

bool writeValue(std::string_view path, std::string_view section, std::string_view key, std::string_view value)
{
    // The file is read under the writers' lock: another process's change in between is kept.
    return qmx::os::updateFile(
        path,
        [&](const std::string* old) {
            const std::string_view content = old ? std::string_view(*old) : std::string_view();
            return encodingOf(content) == Encoding::Ansi
                ? setValue(content, os::toAnsi(section), os::toAnsi(key), os::toAnsi(value))
                : setValue(content, section, key, value);
        },
        kMaxFileBytes);
}

} // namespace qmx::ini
