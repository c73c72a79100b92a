#include "support/UserRegistry.h"

#ifdef _WIN32
#include "core/os/win32/Wide.h"
#else
#include <QFile>
#include <QString>
#endif

namespace qmxtest {

#ifdef _WIN32

namespace {

std::optional<std::string> readValue(const std::string& key, const std::string& name)
{
    DWORD bytes = 0;
    const std::wstring k = qmx::os::widen(key), n = qmx::os::widen(name);
    if (RegGetValueW(HKEY_CURRENT_USER, k.c_str(), n.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring data(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, k.c_str(), n.c_str(), RRF_RT_REG_SZ, nullptr, data.data(), &bytes)
        != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(bytes / sizeof(wchar_t));
    while (!data.empty() && data.back() == L'\0')
        data.pop_back();
    return qmx::os::narrow(data);
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
QByteArray quoted(const std::string& text)
{
    QByteArray out = "\"";
    for (const QChar c : QString::fromStdString(text)) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            out += '\\';
        out += c.unicode() < 0x80 ? QByteArray(1, static_cast<char>(c.unicode()))
                                  : "\\x" + QByteArray::number(c.unicode(), 16).rightJustified(4, '0');
    }
    return out + '"';
}

} // namespace

UserRegistry::~UserRegistry() = default; // the prefix goes with the test, and WINEPREFIX is put back

void UserRegistry::set(const std::string& key, const std::string& name, const std::optional<std::string>& value)
{
    m_values[Value{key, name}] = value;
    QByteArray reg = "WINE REGISTRY Version 2\n\n#arch=win64\n";
    std::string lastKey;
    for (const auto& [where, data] : m_values) {
        if (!data)
            continue;
        if (where.first != lastKey)
            reg += "\n[" + QByteArray::fromStdString(where.first).replace("\\", "\\\\") + "] 1700000000\n";
        lastKey = where.first;
        reg += quoted(where.second) + '=' + quoted(*data) + '\n';
    }
    QFile file(QString::fromStdString(m_prefix.path("user.reg")));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reg);
}

#endif

} // namespace qmxtest
