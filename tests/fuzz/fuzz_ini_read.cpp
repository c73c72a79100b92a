// libFuzzer target: the INI lookup, the user.reg reader, the wildcard matcher and the code page and
// Unicode conversions on arbitrary bytes. Input: two name bytes' worth of header, then the file content.

#include "core/os/Os.h"
#include "core/os/UserReg.h"
#include "core/os/Utf8.h"
#include "core/os/Wildcard.h"
#include "core/storage/IniFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.size() < 2)
        return 0;
    // The first two bytes give the lengths of the section and key names taken from the content.
    const std::size_t sectionLen = static_cast<unsigned char>(input[0]) % 16;
    const std::size_t keyLen = static_cast<unsigned char>(input[1]) % 16;
    const std::string_view rest = input.substr(2);
    const std::string_view section = rest.substr(0, sectionLen);
    const std::string_view key = rest.substr(std::min(rest.size(), sectionLen), keyLen);

    const auto value = qmx::ini::findValue(rest, section, key);
    if (value && value->find('\0') != std::string::npos)
        std::abort(); // a value never holds a NUL
    (void)qmx::ini::findValue(rest, "settings", "LastUsedSettings"); // the names the seed files hold

    (void)qmx::os::findUserRegString(rest, section, key);
    (void)qmx::os::wildcardMatch(section, key);

    // (That every byte survives the trip through UTF-8 is checked byte by byte in the OS layer's tests.)
    (void)qmx::os::fromAnsi(qmx::os::toAnsi(rest));

    // Repaired UTF-8 is valid: repairing it again changes nothing, and it survives the trip through UTF-16.
    const std::string valid = qmx::os::validUtf8(rest);
    if (qmx::os::validUtf8(valid) != valid || qmx::os::utf16ToUtf8(qmx::os::utf8ToUtf16(valid)) != valid)
        std::abort();
    return 0;
}
