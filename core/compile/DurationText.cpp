#include "core/compile/DurationText.h"

#include "core/storage/Config.h"

namespace qmx::compile {

namespace {

// Leading blanks, an optional sign and the digits that follow; anything else reads as 0.
std::int64_t leadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value > 100000000000000LL)
            break; // far beyond any 32-bit count of seconds
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

std::string twoDigits(std::int64_t value)
{
    std::string text = std::to_string(value < 0 ? -value : value);
    if (text.size() < 2)
        text.insert(0, 1, '0');
    return value < 0 ? "-" + text : text;
}

} // namespace

std::string numericDuration(std::int32_t seconds)
{
    const std::int64_t total = seconds;
    // Floor division for the hours, a truncating remainder for the seconds, as the format defines them.
    std::int64_t hours = total / 3600;
    if (total % 3600 != 0 && total < 0)
        --hours;
    std::int64_t minutesTotal = total / 60;
    if (total % 60 != 0 && total < 0)
        --minutesTotal;
    const std::int64_t minutes = minutesTotal - 60 * hours;
    const std::int64_t secs = total % 60;
    return std::to_string(hours) + ":" + twoDigits(minutes) + "." + twoDigits(secs);
}

std::string describeDuration(std::string_view numeric, const DurationWords& words)
{
    const std::size_t colon = numeric.find(':');
    const std::string_view hoursPart = numeric.substr(0, colon == std::string_view::npos ? numeric.size() : colon);
    const std::string_view minutesPart
        = colon == std::string_view::npos ? std::string_view() : numeric.substr(colon + 1, 2);
    const std::string_view secondsPart = numeric.size() >= 2 ? numeric.substr(numeric.size() - 2) : numeric;

    const std::int64_t hours = leadingNumber(hoursPart);
    const std::int64_t minutes = leadingNumber(minutesPart);
    const std::int64_t secs = leadingNumber(secondsPart);

    std::string result;
    if (hours != 0) {
        result = std::to_string(hours) + " " + words.hour;
        if (hours > 1)
            result += "s";
        result += ", ";
    }
    if (minutesPart == "00") {
        // Under an hour, no whole minutes are not worth naming.
        if (!result.empty())
            result += "0 " + words.minute + "s, " + words.andWord + " ";
    } else {
        const bool hadHours = !result.empty();
        // The "##" pattern: a zero shows no digit at all.
        result += (minutes == 0 ? std::string() : std::to_string(minutes)) + " " + words.minute;
        if (minutes != 1)
            result += "s";
        result += hadHours ? ", " + words.andWord + " " : " " + words.andWord + " ";
    }
    result += std::to_string(secs) + " " + words.second;
    if (secs != 1)
        result += "s";
    return result;
}

DurationWords languageDurationWords()
{
    DurationWords words;
    words.hour = config::text(config::Text::Hour);
    words.minute = config::text(config::Text::Minute);
    words.second = config::text(config::Text::Second);
    words.andWord = config::text(config::Text::And);
    return words;
}

std::string formatElapsedTime(std::int32_t seconds, bool inWords)
{
    const std::string numeric = numericDuration(seconds);
    return inWords ? describeDuration(numeric, languageDurationWords()) : numeric;
}

} // namespace qmx::compile
