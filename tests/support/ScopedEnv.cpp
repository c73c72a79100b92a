#include "support/ScopedEnv.h"

#ifdef _WIN32
#include "core/os/win32/Wide.h"
#else
#include <cstdlib>
#endif

namespace qmxtest {

#ifdef _WIN32
std::optional<std::string> ScopedEnv::get(const char* name)
{
    const wchar_t* value = _wgetenv(qmx::os::widen(name).c_str());
    return value ? std::optional<std::string>(qmx::os::narrow(value)) : std::nullopt;
}

void ScopedEnv::set(const char* name, const std::string& value)
{
    _wputenv_s(qmx::os::widen(name).c_str(), qmx::os::widen(value).c_str());
}

void ScopedEnv::unset(const char* name)
{
    _wputenv_s(qmx::os::widen(name).c_str(), L"");
}
#else
std::optional<std::string> ScopedEnv::get(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void ScopedEnv::set(const char* name, const std::string& value)
{
    ::setenv(name, value.c_str(), 1);
}

void ScopedEnv::unset(const char* name)
{
    ::unsetenv(name);
}
#endif

} // namespace qmxtest
