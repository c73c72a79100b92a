#include "toolkit/os/ConsoleRun.h"

#include "toolkit/os/Os.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

using qmx::os::ConsoleRun;

namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

[[maybe_unused]] void writeAll(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A scratch directory with a blank in its name, removed with its files at the end of the test.
#ifdef _WIN32
unsigned long processId()
{
    return GetCurrentProcessId();
}
#else
unsigned long processId()
{
    return static_cast<unsigned long>(getpid());
}
#endif

class ScratchDir
{
public:
    ScratchDir()
    {
        // Tests of this file run in parallel processes: the process id keeps their folders apart.
        static int counter = 0;
        m_path = testing::TempDir() + "qmx console " + std::to_string(processId()) + "_" + std::to_string(++counter);
#ifdef _WIN32
        std::system(("mkdir \"" + m_path + "\"").c_str());
#else
        mkdir(m_path.c_str(), 0755);
#endif
    }
    ~ScratchDir()
    {
#ifdef _WIN32
        std::system(("rmdir /s /q \"" + m_path + "\"").c_str());
#else
        std::system(("rm -rf '" + m_path + "'").c_str());
#endif
    }
    std::string file(const std::string& name) const
    {
#ifdef _WIN32
        return m_path + "\\" + name;
#else
        return m_path + "/" + name;
#endif
    }

private:
    std::string m_path;
};

} // namespace

#ifndef _WIN32

// Puts a directory in front of PATH (or replaces PATH) for one test.
class PathOverride
{
public:
    explicit PathOverride(const std::string& path)
        : m_old(qmx::os::getEnv("PATH"))
    {
        setenv("PATH", path.c_str(), 1);
    }
    ~PathOverride() { setenv("PATH", m_old.c_str(), 1); }

private:
    std::string m_old;
};

TEST(ConsoleRun, MissingRunnerIsReportedNotRun)
{
    ScratchDir empty;
    PathOverride path(empty.file(""));
    std::string error;
    EXPECT_EQ(ConsoleRun::start("Z:\\tmp\\compile.bat", &error), nullptr);
    EXPECT_NE(error.find("wineconsole"), std::string::npos) << error;
}

TEST(ConsoleRun, HandsTheBatchToCmdInWindowsFormAndReturnsItsExitCode)
{
    // A fake wineconsole records what it was given; the real one is tested end to end.
    ScratchDir dir;
    const std::string args = dir.file("args.txt");
    writeAll(dir.file("wineconsole"),
             "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + args + "'\nexit 7\n");
    chmod(dir.file("wineconsole").c_str(), 0755);
    PathOverride path(dir.file("") + ":" + qmx::os::getEnv("PATH"));

    struct Case
    {
        std::string given;
        std::string expected;
    };
    const Case cases[] = {
        {"Z:\\sdk dir\\compile.bat", "Z:\\sdk dir\\compile.bat"},
        {"/tmp/compile.bat", qmx::os::toWindowsPath("/tmp/compile.bat")},
    };
    for (const Case& c : cases) {
        std::string error;
        std::unique_ptr<ConsoleRun> run = ConsoleRun::start(c.given, &error);
        ASSERT_NE(run, nullptr) << error;
        ASSERT_TRUE(run->wait(-1));
        EXPECT_TRUE(run->finished());
        EXPECT_EQ(run->exitCode(), 7);
        EXPECT_EQ(readAll(args), "cmd\n/c\n" + c.expected + "\n");
    }
}

TEST(ConsoleRun, RealWineConsoleRunsTheBatch)
{
    if (qmx::os::getEnv("DISPLAY").empty() || std::system("command -v wineconsole >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs an X display and Wine";
    ScratchDir dir;
    const std::string bat = qmx::os::toWindowsPath(dir.file("compile.bat"));
    const std::string marker = qmx::os::toWindowsPath(dir.file("ran.txt"));
    ASSERT_FALSE(bat.empty());
    ASSERT_TRUE(qmx::os::writeAnsiTextFile(bat, {"echo %QMX_CONSOLE_TEST%> \"" + marker + "\""}));
    setenv("QMX_CONSOLE_TEST", "passed through", 1);
    std::string error;
    std::unique_ptr<ConsoleRun> run = ConsoleRun::start(bat, &error);
    ASSERT_NE(run, nullptr) << error;
    // A new prefix takes a while to set up; waiting on the run itself is the condition.
    ASSERT_TRUE(run->wait(180000));
    EXPECT_EQ(readAll(dir.file("ran.txt")), "passed through\r\n");
}

#else

TEST(ConsoleRun, RunsTheBatchInItsOwnConsoleAndReturnsItsExitCode)
{
    ScratchDir dir;
    const std::string bat = dir.file("compile.bat"); // the scratch path has a blank: quoted for cmd
    ASSERT_TRUE(
        qmx::os::writeAnsiTextFile(bat, {"echo %QMX_CONSOLE_TEST%> \"" + dir.file("ran.txt") + "\"", "exit /b 7"}));
    _putenv_s("QMX_CONSOLE_TEST", "passed through");
    std::string error;
    std::unique_ptr<ConsoleRun> run = ConsoleRun::start(bat, &error);
    ASSERT_NE(run, nullptr) << error;
    ASSERT_TRUE(run->wait(120000));
    EXPECT_TRUE(run->finished());
    EXPECT_EQ(run->exitCode(), 7);
    EXPECT_EQ(readAll(dir.file("ran.txt")), "passed through\r\n");
}

#endif

TEST(ConsoleRun, FinishedNeverBlocks)
{
#ifdef _WIN32
    ScratchDir dir;
    const std::string bat = dir.file("wait.bat");
    ASSERT_TRUE(qmx::os::writeAnsiTextFile(bat, {"ping -n 3 127.0.0.1 >nul"}));
#else
    ScratchDir dir;
    writeAll(dir.file("wineconsole"), "#!/bin/sh\nwhile [ ! -e '" + dir.file("go") + "' ]; do sleep 0.01; done\n");
    chmod(dir.file("wineconsole").c_str(), 0755);
    PathOverride path(dir.file("") + ":" + qmx::os::getEnv("PATH"));
    const std::string bat = "Z:\\x.bat";
#endif
    std::string error;
    std::unique_ptr<ConsoleRun> run = ConsoleRun::start(bat, &error);
    ASSERT_NE(run, nullptr) << error;
#ifndef _WIN32
    EXPECT_FALSE(run->finished()); // held until "go" exists
    writeAll(dir.file("go"), "");
#endif
    EXPECT_TRUE(run->wait(60000));
    EXPECT_TRUE(run->finished());
}
