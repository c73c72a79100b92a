#pragma once

// A fresh directory per test, with a blank and a non-ASCII letter in its name, removed afterwards.
// Paths are UTF-8 host paths, which every OS-layer routine accepts.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace qmxtest {

class OsTestDir
{
public:
    OsTestDir()
    {
        std::random_device rd;
        const auto base = std::filesystem::temp_directory_path();
        for (int i = 0; i < 100; ++i) {
            const std::string name = u8"qmx os t\u00e9st " + std::to_string(rd());
            const auto candidate = base / std::filesystem::u8path(name);
            std::error_code ec;
            if (std::filesystem::create_directory(candidate, ec)) {
                m_path = candidate;
                break;
            }
        }
    }
    ~OsTestDir()
    {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    OsTestDir(const OsTestDir&) = delete;
    OsTestDir& operator=(const OsTestDir&) = delete;

    std::string path() const { return m_path.u8string(); }
    std::string path(std::string_view name) const { return (m_path / std::filesystem::u8path(name)).u8string(); }
    std::filesystem::path fsPath(std::string_view name = {}) const
    {
        return name.empty() ? m_path : m_path / std::filesystem::u8path(name);
    }

    void write(std::string_view name, std::string_view bytes) const
    {
        std::ofstream out(fsPath(name), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::string read(std::string_view name) const
    {
        std::ifstream in(fsPath(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool exists(std::string_view name) const { return std::filesystem::exists(fsPath(name)); }
    void mkdir(std::string_view name) const { std::filesystem::create_directories(fsPath(name)); }
    std::size_t entryCount() const
    {
        std::size_t n = 0;
        for (auto it = std::filesystem::directory_iterator(m_path); it != std::filesystem::directory_iterator(); ++it)
            ++n;
        return n;
    }

private:
    std::filesystem::path m_path;
};

} // namespace qmxtest
