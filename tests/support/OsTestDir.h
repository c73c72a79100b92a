#pragma once

// A fresh directory per test, with a blank and (unless told otherwise) a non-ASCII letter in its name,
// removed afterwards. Paths are UTF-8 host paths, which every OS-layer routine accepts.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <thread>

namespace qmxtest {

// Polls until ready() holds, for at most the limit: for what another process does in its own time.
template <typename F> bool eventually(F ready, std::chrono::seconds limit = std::chrono::seconds(60))
{
    for (const auto deadline = std::chrono::steady_clock::now() + limit; !ready();) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

class OsTestDir
{
public:
    explicit OsTestDir(const std::string& stem = u8"qmx os t\u00e9st ")
        : m_path(std::filesystem::temp_directory_path()
                 / std::filesystem::u8path(stem + std::to_string(std::random_device{}())))
    {
        std::filesystem::create_directory(m_path);
    }
    ~OsTestDir() { std::filesystem::remove_all(m_path, m_error); }

    std::filesystem::path fsPath(std::string_view name = {}) const { return m_path / std::filesystem::u8path(name); }
    std::string path(std::string_view name = {}) const { return (name.empty() ? m_path : fsPath(name)).u8string(); }
    void mkdir(std::string_view name) const { std::filesystem::create_directories(fsPath(name)); }
    void write(std::string_view name, std::string_view bytes) const
    {
        std::ofstream(fsPath(name), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::string read(std::string_view name) const
    {
        std::ifstream in(fsPath(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The file's bytes once another process has written some, or "" after the limit.
    std::string await(std::string_view name, std::chrono::seconds limit = std::chrono::seconds(120)) const
    {
        std::string bytes;
        eventually([&] { return !(bytes = read(name)).empty(); }, limit);
        return bytes;
    }
    long entryCount() const { return std::distance(std::filesystem::directory_iterator(m_path), {}); }

private:
    std::filesystem::path m_path;
    std::error_code m_error;
};

} // namespace qmxtest
