// Checks of the Windows backend that only make sense there (run under Wine in the mingw build).

#ifdef _WIN32

#include "toolkit/os/Os.h"

#include "OsTestDir.h"
#include "storage/ProgramFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <random>

namespace {

// A key of our own under HKEY_CURRENT_USER, removed afterwards.
class RegistryKey
{
public:
    RegistryKey()
    {
        m_path = "Software\\QMX GUI Test\\k" + std::to_string(std::random_device{}());
        RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
    }
    ~RegistryKey()
    {
        RegCloseKey(m_key);
        RegDeleteKeyA(HKEY_CURRENT_USER, m_path.c_str());
    }
    void set(const char* name, DWORD type, const std::string& bytes)
    {
        RegSetValueExA(m_key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    HKEY m_key = nullptr;
};

std::string readResult(const std::string& file)
{
    std::string bytes;
    qmx::os::readFile(file, bytes);
    return bytes;
}

// Starts this test program again to run one child test with the given environment.
HANDLE startChild(const std::string& dir, const std::string& outFile, bool hold)
{
    SetEnvironmentVariableA("QMX_CHILD_DIR", qmx::os::toAnsi(dir).c_str());
    SetEnvironmentVariableA("QMX_CHILD_OUT", qmx::os::toAnsi(outFile).c_str());
    SetEnvironmentVariableA("QMX_CHILD_HOLD", hold ? "1" : nullptr);
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring cmd = L"\"" + std::wstring(exe) + L"\" --gtest_filter=InstanceChild.Run";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const BOOL ok = CreateProcessW(exe, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableA("QMX_CHILD_DIR", nullptr);
    SetEnvironmentVariableA("QMX_CHILD_OUT", nullptr);
    SetEnvironmentVariableA("QMX_CHILD_HOLD", nullptr);
    if (!ok)
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

// Waits until the child has written its answer (or has ended without one).
std::string waitForAnswer(HANDLE child, const std::string& outFile)
{
    for (;;) {
        const std::string answer = readResult(outFile);
        if (!answer.empty())
            return answer;
        if (WaitForSingleObject(child, 50) == WAIT_OBJECT_0)
            return readResult(outFile);
    }
}

} // namespace

// The child side of the instance test; does nothing when run on its own.
TEST(InstanceChild, Run)
{
    const char* dir = std::getenv("QMX_CHILD_DIR");
    const char* out = std::getenv("QMX_CHILD_OUT");
    if (!dir || !out)
        GTEST_SKIP() << "only run as a child of Instance.SecondCopySeesTheFirst";
    qmx::os::overrideProgramDirectory(qmx::os::fromAnsi(dir));
    const bool other = qmx::os::anotherInstanceRunning();
    const std::string tmp = qmx::os::fromAnsi(out) + ".tmp";
    // Written whole and then renamed, so the parent never reads half an answer.
    qmx::os::writeAnsiTextFile(tmp, {other ? "y" : "n"});
    MoveFileA(qmx::os::toAnsi(tmp).c_str(), out);
    if (std::getenv("QMX_CHILD_HOLD"))
        Sleep(INFINITE); // holds the mutex until the parent ends this process
}

TEST(Instance, SecondCopySeesTheFirstUntilItEnds)
{
    qmxtest::OsTestDir dir;
    const std::string programDir = dir.path("prog");
    const std::string holderOut = dir.path("holder.txt");
    HANDLE holder = startChild(programDir, holderOut, true);
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(waitForAnswer(holder, holderOut), "n\r\n");

    const auto ask = [&](const std::string& dirToAsk, const std::string& name) {
        const std::string out = dir.path(name);
        HANDLE child = startChild(dirToAsk, out, false);
        if (!child)
            return std::string("not started");
        WaitForSingleObject(child, INFINITE);
        CloseHandle(child);
        return readResult(out);
    };
    EXPECT_EQ(ask(programDir, "second.txt"), "y\r\n");
    EXPECT_EQ(ask(dir.path("other prog"), "elsewhere.txt"), "n\r\n");

    TerminateProcess(holder, 1);
    WaitForSingleObject(holder, INFINITE);
    CloseHandle(holder);
    EXPECT_EQ(ask(programDir, "after.txt"), "n\r\n");
}

TEST(WindowsRegistry, OnlyRegSzUpToTheFirstNul)
{
    RegistryKey key;
    key.set("Directory", REG_SZ, std::string("E:\\tools\\bin\0", 13));
    key.set("Expand", REG_EXPAND_SZ, std::string("%SystemRoot%\0", 13));
    key.set("Multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
    key.set("Ansi", REG_SZ,
            std::string("Gr\xf6\xdf"
                        "e \x80\0",
                        9));
    key.set("Embedded", REG_SZ, std::string("before\0after\0", 13));
    key.set("Empty", REG_SZ, std::string("\0", 1));
    key.set("NoTerminator", REG_SZ, std::string("abc", 3));
    key.set("Number", REG_DWORD, std::string("\x2a\0\0\0", 4));
    key.set(nullptr, REG_SZ, std::string("default\0", 8));
    const struct
    {
        const char* name;
        std::optional<std::string> expected;
    } cases[] = {
        {"Directory", "E:\\tools\\bin"},
        {"directory", "E:\\tools\\bin"},
        {"Expand", std::nullopt},
        {"Multi", std::nullopt},
        {"Ansi", u8"Gr\u00f6\u00dfe \u20ac"},
        {"Embedded", "before"},
        {"Empty", ""},
        {"NoTerminator", "abc"},
        {"Number", std::nullopt},
        {"", "default"},
        {"Missing", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qmx::os::readRegistryString(qmx::os::kHkeyCurrentUser, key.path(), c.name), c.expected) << c.name;
    EXPECT_EQ(qmx::os::readRegistryString(qmx::os::kHkeyCurrentUser, key.path() + "\\missing", "Directory"),
              std::nullopt);
}

TEST(WindowsPaths, ProgramDirectoryAndDrives)
{
    const std::string dir = qmx::os::programDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), '\\');
    EXPECT_TRUE(qmx::os::directoryExists(dir));
    EXPECT_EQ(qmx::os::executableName(), "test_os");
    qmx::os::overrideProgramDirectory("C:\\prog dir\\");
    EXPECT_EQ(qmx::settingsFilePath(), "C:\\prog dir\\settings.qmxII");
    qmx::os::overrideProgramDirectory({});
    const auto drives = qmx::os::drives();
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives.front().hostRoot, std::string(1, drives.front().letter) + ":\\");
    EXPECT_EQ(qmx::os::toHostPath("C:\\x"), "C:\\x");
}

#endif
