#pragma once

// The one-line batch file a tool runs from, on every platform: the command interpreter then gives the line
// exactly the treatment compile.bat gives it ("%vproject%", quotation marks, "&"), and the batch writes the
// tool's whole exit status into a file, since Wine passes on only its low 8 bits.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qmx::os::detail {

struct ToolStep
{
    std::string batch; // Windows-form
    std::string status;

    // Writes the batch for the line into dir (Windows-form, blank free); false and *error when it cannot.
    bool write(std::string_view batchLine, std::string_view dir, std::string* error);
    // The status the batch wrote; nothing when it wrote none (the interpreter failed, or it was ended).
    std::optional<std::int32_t> readStatus() const;
    void remove() const;
};

} // namespace qmx::os::detail
