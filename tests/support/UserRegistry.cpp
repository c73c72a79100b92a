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

// A text as user.reg writes it: backslashes and quotes escaped, letters beyond ASCII as \xHHHH.
std::string escaped(const std::string& text)
{
    std::string out;
    for (const char16_t c : qmx::os::utf8ToUtf16(text)) {
        char part[8];
        std::snprintf(part, sizeof part, c >= 0x80 ? "\\x%04x" : c == '\\' || c == '"' ? "\\%c" : "%c", unsigned{c});
        out += part;
    }
    return out;
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
        if (where.first != lastKey)
            reg += "\n[" + escaped(lastKey = where.first) + "] 1700000000\n"; // parts joined by a doubled backslash
        reg += '"' + escaped(where.second) + "\"=\"" + escaped(*data) + "\"\n";
    }
    std::ofstream(m_prefix.fsPath("user.reg"), std::ios::binary) << reg;
}

#endif

} // namespace qmxtest
