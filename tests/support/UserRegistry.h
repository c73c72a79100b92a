#pragma once

// String values under HKEY_CURRENT_USER for one test, put back as they were when it ends. On Windows the
// registry itself changes, value by value, and each value is restored. On Linux the test gets a Wine prefix of
// its own (WINEPREFIX) that holds only a user.reg with exactly the values set here; its drives are then
// Wine's default, Z: for the root.

#include "support/OsTestDir.h"
#include "support/ScopedEnv.h"

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace qmxtest {

class UserRegistry
{
public:
    UserRegistry() = default;
    ~UserRegistry();
    UserRegistry(const UserRegistry&) = delete;
    UserRegistry& operator=(const UserRegistry&) = delete;

    // Sets a REG_SZ value (UTF-8); nullopt removes it.
    void set(const std::string& key, const std::string& name, const std::optional<std::string>& value);

private:
    using Value = std::pair<std::string, std::string>; // key, name
    std::map<Value, std::optional<std::string>> m_values; // Linux: what is set; Windows: what was there before
#ifndef _WIN32
    OsTestDir m_prefix{"qmx wine prefix "};
    ScopedEnv m_prefixVariable{"WINEPREFIX", m_prefix.path()};
#endif
};

} // namespace qmxtest
