#include "core/game/GameTemplate.h"

namespace qmx::game {

namespace {

bool isWordCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string withoutQuotes(std::string_view value)
{
    std::string out;
    for (char c : value) {
        if (c != '"')
            out += c;
    }
    return out;
}

std::string trailingBackslashesDoubled(std::string value)
{
    std::size_t count = 0;
    while (count < value.size() && value[value.size() - 1 - count] == '\\')
        ++count;
    value.append(count, '\\');
    return value;
}

// The placeholder that starts right after a '$' at `at`, or nullptr; `length` gets its name's length.
const std::string* placeholderAt(std::string_view text, std::size_t at, const Placeholders& values, std::size_t& length)
{
    const std::pair<std::string_view, const std::string*> names[]
        = {{"map", &values.map}, {"bsp", &values.bsp}, {"gamedir", &values.gameDir}};
    for (const auto& [name, value] : names) {
        if (text.substr(at, name.size()) != name)
            continue;
        const std::size_t end = at + name.size();
        if (end < text.size() && isWordCharacter(text[end]))
            continue;
        length = name.size();
        return value;
    }
    return nullptr;
}

} // namespace

std::string fillTemplate(std::string_view parameters, const Placeholders& values)
{
    std::string out;
    bool inQuotes = false;
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const char c = parameters[i];
        if (c == '"')
            inQuotes = !inQuotes;
        std::size_t length = 0;
        const std::string* value = c == '$' ? placeholderAt(parameters, i + 1, values, length) : nullptr;
        if (!value) {
            out += c;
            continue;
        }
        i += length;
        std::string text = withoutQuotes(*value);
        if (inQuotes) {
            const bool closesHere = i + 1 < parameters.size() && parameters[i + 1] == '"';
            out += closesHere ? trailingBackslashesDoubled(std::move(text)) : text;
        } else if (text.empty() || text.find_first_of(" \t") != std::string::npos) {
            out += '"' + trailingBackslashesDoubled(std::move(text)) + '"';
        } else {
            out += text;
        }
    }
    return out;
}

std::string gameCommandLine(std::string_view executable, std::string_view filledParameters)
{
    std::string line = '"' + withoutQuotes(executable) + '"';
    if (!filledParameters.empty())
        line += ' ' + std::string(filledParameters);
    return line;
}

} // namespace qmx::game
