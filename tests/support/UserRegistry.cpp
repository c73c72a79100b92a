#include "support/UserRegistry.h"

#ifdef _WIN32
#include "core/os/win32/Wide.h"
#else
#include "core/os/Utf8.h"

#include <cstdio>
#include <fstream>
#endif

namespace qmxtest {

#ifdef _WIN32

namespace {

std::optional<std::string> readValue(const std::string& key, const std::string& name)
{
    std::wstring data(32767, L'\0'); // the longest value the tests and the program deal in
    DWORD bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, qmx::os::widen(key).c_str(), qmx::os::widen(name).c_str(), RRF_RT_REG_SZ,
                     nullptr, data.data(), &bytes)
        != ERROR_SUCCESS)
        return std::nullopt;
    return qmx::os::narrow(data.c_str()); // up to the end the call always writes
}

void writeValue(const std::string& key, const std::string& name, const std::optional<std::string>& value)
{
    const std::wstring k = qmx::os::widen(key), n = qmx::os::widen(name);
    if (!value) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, k.c_str(), n.c_str());
        return;
    }
    const std::wstring data = qmx::os::widen(*value);
    RegSetKeyValueW(HKEY_CURRENT_USER, k.c_str(), n.c_str(), REG_SZ, data.c_str(),
                    static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

} // namespace

UserRegistry::~UserRegistry()
{
    for (const auto& [value, before] : m_values)
        writeValue(value.first, value.second, before);
}

void UserRegistry::set(const std::string& key, const std::string& name, const std::optional<std::string>& value)
{
    m_values.emplace(Value{key, name}, readValue(key, name)); // the first state seen is the one put back
    writeValue(key, name, value);
}

#else

namespace {

// A text as user.reg quotes it: backslashes and quotes escaped, letters beyond ASCII as \xHHHH.
std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char16_t c : qmx::os::utf8ToUtf16(text)) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%04x", static_cast<unsigned>(c));
        const char ascii = static_cast<char>(c);
        out += c >= 0x80                    ? std::string(hex)
            : ascii == '\\' || ascii == '"' ? std::string{'\\', ascii}
                                            : std::string(1, ascii);
    }
    return out + '"';
}

} // namespace

UserRegistry::~UserRegistry() = default; // the prefix goes with the test, and WINEPREFIX is put back

void UserRegistry::set(const std::string& key, const std::string& name, const std::optional<std::string>& value)
{
    m_values[Value{key, name}] = value;
    std::string reg = "WINE REGISTRY Version 2\n\n#arch=win64\n", lastKey;
    for (const auto& [where, data] : m_values) {
        if (!data)
            continue;
        if (where.first != lastKey) {
            reg += "\n[";
            for (const char c : lastKey = where.first)
                reg += c == '\\' ? std::string("\\\\") : std::string(1, c); // parts joined by a doubled backslash
            reg += "] 1700000000\n";
        }
        reg += quoted(where.second) + '=' + quoted(*data) + '\n';
    }
    std::ofstream(m_prefix.fsPath("user.reg"), std::ios::binary) << reg;
}

#endif

} // namespace qmxtest
