#pragma once

// The compile time as text: the numeric form hours:minutes.seconds and the sentence in the unit words
// of the language file. Qt-free; the words are passed in by the caller.

#include <cstdint>
#include <string>
#include <string_view>

namespace qmx::compile {

// The singular unit words and the joining word; the plural is the word with "s" appended.
struct DurationWords
{
    std::string hour;
    std::string minute;
    std::string second;
    std::string andWord;
};

// "h:mm.ss", hours without leading zeros and without an upper bound on their digits.
std::string numericDuration(std::int32_t seconds);

// The numeric text as a sentence: "1 hour, 5 minutes, and 7 seconds". Any text is accepted; parts
// that are not numbers count as 0.
std::string describeDuration(std::string_view numeric, const DurationWords& words);

// The unit words of the language file, read anew on every call.
DurationWords languageDurationWords();

// "h:mm.ss", or with inWords the sentence in the language file's words.
std::string formatElapsedTime(std::int32_t seconds, bool inWords);

} // namespace qmx::compile
