#pragma once

// Environment variables that a test changes, put back as they were when it ends, so that tests depend
// neither on their order nor on a process of their own. Values are UTF-8; on Windows they go through
// the wide calls, so a letter outside ASCII reaches the OS layer and child processes intact (there an
// empty value removes the variable).

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qmxtest {

class ScopedEnv
{
public:
    // Remembers the named variables; set() and unset() then change them freely.
    ScopedEnv(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            m_saved.emplace_back(name, get(name));
    }
    // Remembers one variable and sets it.
    ScopedEnv(const char* name, const std::string& value)
        : ScopedEnv({name})
    {
        set(name, value);
    }
    ~ScopedEnv()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
            it->second ? set(it->first, *it->second) : unset(it->first);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    static std::optional<std::string> get(const char* name);
    static void set(const char* name, const std::string& value);
    static void unset(const char* name);

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> m_saved;
};

} // namespace qmxtest
