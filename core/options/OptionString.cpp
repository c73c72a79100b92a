#include "core/options/OptionString.h"

#include "core/storage/IniFile.h"

#include <algorithm>
#include <vector>

namespace qmx::options {

namespace {

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        fields.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return fields;
        start = end + 1;
    }
}

// A missing field reads as empty, so short or damaged text restores as unticked and empty.
std::string_view fieldAt(const std::vector<std::string_view>& fields, std::size_t index)
{
    return index < fields.size() ? fields[index] : std::string_view();
}

char flag(bool on)
{
    return on ? '1' : '0';
}

// Fields a page's segment has when its master is ticked.
std::size_t tickedFieldCount(Page page)
{
    std::size_t count = 0;
    for (const OptionEntry* entry : pageOptions(page))
        count += entry->kind == OptionKind::Value ? 2 : 1;
    return count;
}

} // namespace

std::string storableText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != ',' && c != '|' && c != '\r' && c != '\n')
            out += c;
    }
    return out;
}

std::string serializePage(const OptionSet& set, Page page)
{
    std::string segment;
    if (!set.master(page)) {
        for (int i = 0; i < pageInfo(page).uncheckedZeroCount; ++i)
            segment += i == 0 ? "0" : ",0";
        return segment;
    }
    bool first = true;
    auto field = [&](std::string_view text) {
        if (!first)
            segment += ',';
        segment += text;
        first = false;
    };
    for (const OptionEntry* entry : pageOptions(page)) {
        const OptionState& state = set[*entry];
        field(state.ticked ? "1" : "0");
        if (entry->kind == OptionKind::Value)
            field(state.ticked ? storableText(state.text) : std::string("0"));
    }
    return segment;
}

std::string serializeAll(const OptionSet& set)
{
    std::string text;
    for (const PageInfo& info : pageCatalogue()) {
        text += flag(set.master(info.page));
        text += info.page == Page::Rad ? '|' : ',';
    }
    text += serializePage(set, Page::Bsp) + "|" + serializePage(set, Page::Vis) + "|" + serializePage(set, Page::Rad);
    return text;
}

std::string storedOptionString(const OptionSet& set)
{
    return serializeAll(set) + "|" + flag(set.copyFile);
}

StoredSegments splitStored(std::string_view stored)
{
    const std::vector<std::string_view> segments = split(stored, '|');
    const std::vector<std::string_view> masters = split(fieldAt(segments, 0), ',');
    StoredSegments result;
    for (std::size_t i = 0; i < 3; ++i) {
        result.masters[i] = fieldAt(masters, i) == "1";
        result.pages[i] = std::string(fieldAt(segments, i + 1));
    }
    result.copyFile = fieldAt(segments, 4) == "1";
    return result;
}

void applyPageSegment(OptionSet& set, Page page, std::string_view segment)
{
    const std::vector<std::string_view> fields = split(segment, ',');
    std::size_t index = 0;
    for (const OptionEntry* entry : pageOptions(page)) {
        const bool ticked = fieldAt(fields, index++) == "1";
        OptionState& state = set[*entry];
        if (ticked)
            state.ticked = true;
        if (entry->kind != OptionKind::Value)
            continue;
        const std::string_view text = fieldAt(fields, index++);
        if (ticked)
            state.text = std::string(text);
    }
}

OptionSet restoreOptionSet(std::string_view stored)
{
    const StoredSegments segments = splitStored(stored);
    OptionSet set;
    set.copyFile = segments.copyFile;
    for (const PageInfo& info : pageCatalogue()) {
        const std::size_t i = static_cast<std::size_t>(info.page);
        if (!segments.masters[i])
            continue;
        applyPageSegment(set, info.page, segments.pages[i]);
        set.setMaster(info.page, true);
    }
    return set;
}

std::size_t longestFlagLength()
{
    // Every field is one character when the texts are empty; an unticked value option ("0,0") is longer
    // than a ticked one with an empty text ("1,"), and an unticked page may have more fields than a
    // ticked one.
    std::size_t length = 3 + 2 + 4 + 1; // three master flags, their two commas, four "|", the copy flag
    for (const PageInfo& info : pageCatalogue()) {
        const std::size_t fields
            = std::max(tickedFieldCount(info.page), static_cast<std::size_t>(info.uncheckedZeroCount));
        length += 2 * fields - 1;
    }
    return length;
}

std::size_t valueTextBudget()
{
    return ini::kMaxValueBytes - longestFlagLength();
}

} // namespace qmx::options
