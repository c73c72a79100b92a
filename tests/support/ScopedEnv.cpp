#include "support/ScopedEnv.h"

#ifdef _WIN32
#include "core/os/win32/Wide.h"
#else
#include <cstdlib>
#endif

namespace qmxtest {

std::optional<std::string> ScopedEnv::get(const char* name)
{
#ifdef _WIN32
    const wchar_t* value = _wgetenv(qmx::os::widen(name).c_str());
    return value ? std::optional<std::string>(qmx::os::narrow(value)) : std::nullopt;
#else
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
#endif
}

void ScopedEnv::set(const char* name, const std::string& value)
{
#ifdef _WIN32
    _wputenv_s(qmx::os::widen(name).c_str(), qmx::os::widen(value).c_str());
#else
    ::setenv(name, value.c_str(), 1);
#endif
}

void ScopedEnv::unset(const char* name)
{
#ifdef _WIN32
    set(name, ""); // an empty value removes it
#else
    ::unsetenv(name);
#endif
}

} // namespace qmxtest
