#pragma once

// Environment variables that a test changes, put back as they were when it ends, so tests do not depend
// on each other's order or on running in a process of their own.

#include <QByteArray>

#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

namespace qmxtest {

class ScopedEnvironment
{
public:
    explicit ScopedEnvironment(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            m_saved.emplace_back(
                name, qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name)) : std::nullopt);
    }
    ~ScopedEnvironment()
    {
        for (const auto& [name, value] : m_saved)
            value ? qputenv(name, *value) : qunsetenv(name);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_saved;
};

} // namespace qmxtest
