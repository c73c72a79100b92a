#include "core/os/ConsoleRun.h"

#include "OsTestDir.h"
#include "core/os/Os.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <csignal>

#ifdef _WIN32
#include "core/os/win32/Wide.h"

#include <shellapi.h>
#endif

using qmx::os::ConsoleRun;
using qmxtest::OsTestDir;

// Both ways a batch runs, in a console window of its own (the window's compile) and in this terminal
// (qmxcompile): finished() never blocks, the batch's exit code comes back, and in this terminal a Ctrl+C meant
// for the batch does not end us. On Linux a fake runner records what it was given; the real ones run in the
// end-to-end tests.
TEST(ConsoleRun, RunsTheBatchAndReturnsItsExitCode)
{
    OsTestDir dir("qmx console "); // ASCII only: cmd reads a batch file in another code page than ours
    const qmxtest::ScopedEnv environment({"PATH", "WINEDEBUG", "QMX_CONSOLE_TEST"});
    qmxtest::ScopedEnv::set("QMX_CONSOLE_TEST", "passed through");
    struct Case
    {
        ConsoleRun::Mode mode;
        std::string bat, ran; // the batch as given; what the run recorded
    };
#ifdef _WIN32
    ASSERT_TRUE(qmx::os::writeAnsiTextFile(dir.path("compile.bat"),
                                           {"@echo %QMX_CONSOLE_TEST%> \"" + dir.path("ran.txt") + "\"", ":wait",
                                            "@if not exist \"" + dir.path("go") + "\" goto wait", "@exit /b 7"}));
    const Case cases[] = {{ConsoleRun::NewConsoleWindow, dir.path("compile.bat"), "passed through\r\n"},
                          {ConsoleRun::InThisTerminal, dir.path("compile.bat"), "passed through\r\n"}};
#else
    for (const char* runner : {"wineconsole", "wine"}) {
        dir.write(runner,
                  "#!/bin/sh\ncd '" + dir.path()
                      + "'\nprintf '%s|' \"${0##*/}\" \"$@\" \"$WINEDEBUG\" >ran.txt\n"
                        "while [ ! -e go ]; do sleep 0.01; done\nexit 7\n");
        std::filesystem::permissions(dir.fsPath(runner), std::filesystem::perms::owner_all);
    }
    qmxtest::ScopedEnv::set("PATH", dir.path() + ":" + qmx::os::getEnv("PATH"));
    qmxtest::ScopedEnv::unset("WINEDEBUG");
    const Case cases[] = {
        {ConsoleRun::NewConsoleWindow, "Z:\\sdk dir\\compile.bat", "wineconsole|cmd|/c|Z:\\sdk dir\\compile.bat||"},
        {ConsoleRun::NewConsoleWindow, "/tmp/compile.bat",
         "wineconsole|cmd|/c|" + qmx::os::toWindowsPath("/tmp/compile.bat") + "||"},
        // Wine's own messages are off in the terminal unless WINEDEBUG says otherwise.
        {ConsoleRun::InThisTerminal, "Z:\\sdk dir\\compile.bat", "wine|cmd|/c|Z:\\sdk dir\\compile.bat|-all|"},
    };
    struct sigaction before = {}, after = {};
    sigaction(SIGINT, nullptr, &before);
#endif
    // A lambda per row, so that an ASSERT ends only its row.
    const auto check = [&](const Case& c) {
        std::filesystem::remove(dir.fsPath("go"));
        std::string error;
        const std::unique_ptr<ConsoleRun> run = ConsoleRun::start(c.bat, &error, c.mode);
        ASSERT_TRUE(run) << error;
        EXPECT_FALSE(run->finished()); // held until "go" exists
#ifndef _WIN32
        if (c.mode == ConsoleRun::InThisTerminal) {
            EXPECT_EQ(std::raise(SIGINT), 0); // left to the batch
        }
#endif
        dir.write("go", "");
        ASSERT_TRUE(run->wait(120000)) << "did not end";
        EXPECT_TRUE(run->finished());
        EXPECT_EQ(run->exitCode(), 7);
        EXPECT_EQ(dir.read("ran.txt"), c.ran);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ran);
        check(c);
    }
#ifndef _WIN32
    sigaction(SIGINT, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler); // given back
    qmxtest::ScopedEnv::set("PATH", dir.path("no runner here")); // reported, not run
    for (const auto& [mode, runner] :
         {std::pair(ConsoleRun::NewConsoleWindow, "wineconsole"), std::pair(ConsoleRun::InThisTerminal, "wine")}) {
        std::string error;
        EXPECT_EQ(ConsoleRun::start("Z:\\x.bat", &error, mode), nullptr);
        EXPECT_NE(error.find(runner), std::string::npos) << error;
    }
#endif
}

// A help viewer or program whose path holds blanks is started as one quoted argument (Linux splits the
// line itself). Where Windows' own splitting of a program's command line agrees, it is checked too.
TEST(CommandLine, QuotesKeepBlanksInOneArgument)
{
    using Args = std::vector<std::string>;
    const struct
    {
        const char* name;
        std::string line;
        Args args;
        bool sameOnWindows = true;
    } cases[] = {
        {"viewer and file with blanks",
         "\"/opt/my tools/xchm\" \"/home/me/QMX GUI II/help.chm\"",
         {"/opt/my tools/xchm", "/home/me/QMX GUI II/help.chm"}},
        {"runs of blanks and tabs", "  xchm \t  help.chm  ", {"xchm", "help.chm"}},
        {"Windows paths", "hh.exe Z:\\maps dir\\help.chm", {"hh.exe", "Z:\\maps", "dir\\help.chm"}},
        {"quotes inside a word", "a C:\\Program\" \"Files\\x", {"a", "C:\\Program Files\\x"}},
        {"empty quoted argument", "a \"\" b", {"a", "", "b"}},
        {"quote left open runs to the end", "a \"b  c", {"a", "b  c"}},
        {"non-ASCII letters", u8"\"/home/j\u00fcrgen/xchm\" x", {u8"/home/j\u00fcrgen/xchm", "x"}},
        {"nothing", "", {}, false}, // Windows gives the program's own path here
        {"only blanks", "  \t ", {}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qmx::os::splitCommandLine(c.line), c.args) << c.name;
#ifdef _WIN32
        if (!c.sameOnWindows)
            continue;
        // The first argument is the program, as a real command line has it.
        int n = 0;
        wchar_t** argv = CommandLineToArgvW(qmx::os::widen("prog.exe " + c.line).c_str(), &n);
        if (!argv) {
            ADD_FAILURE() << c.name << ": CommandLineToArgvW failed";
            continue;
        }
        Args windows;
        for (int i = 1; i < n; ++i)
            windows.push_back(qmx::os::narrow(argv[i]));
        LocalFree(argv);
        EXPECT_EQ(windows, c.args) << c.name << ": Windows splits it otherwise";
#endif
    }
}
