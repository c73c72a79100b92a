#include "core/os/ConsoleRun.h"

#include "OsTestDir.h"
#include "core/os/Os.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "core/os/win32/Wide.h"

#include <shellapi.h>
#endif

using qmx::os::ConsoleRun;
using qmxtest::OsTestDir;

// finished() never blocks, and the batch's exit code comes back.
TEST(ConsoleRun, RunsTheBatchAndReturnsItsExitCode)
{
    OsTestDir dir("qmx console "); // ASCII only: cmd reads a batch file in another code page than ours
#ifdef _WIN32
    const std::pair<std::string, std::string> cases[] = {{dir.path("compile.bat"), ""}}; // a blank: quoted for cmd
    ASSERT_TRUE(qmx::os::writeAnsiTextFile(dir.path("compile.bat"),
                                           {"echo %QMX_CONSOLE_TEST%> \"" + dir.path("ran.txt") + "\"", ":wait",
                                            "if not exist \"" + dir.path("go") + "\" goto wait", "exit /b 7"}));
    const qmxtest::ScopedEnv variable("QMX_CONSOLE_TEST", "passed through");
#else
    // A fake wineconsole records what it was given; the real one runs in the window's end-to-end test.
    dir.write("wineconsole",
              "#!/bin/sh\ncd '" + dir.path()
                  + "'\nprintf '%s\\n' \"$@\" >args.txt\nwhile [ ! -e go ]; do sleep 0.01; done\nexit 7\n");
    std::filesystem::permissions(dir.fsPath("wineconsole"), std::filesystem::perms::owner_all);
    const qmxtest::ScopedEnv path("PATH", dir.path() + ":" + qmx::os::getEnv("PATH"));
    const std::pair<std::string, std::string> cases[] = {
        {"Z:\\sdk dir\\compile.bat", "Z:\\sdk dir\\compile.bat"},
        {"/tmp/compile.bat", qmx::os::toWindowsPath("/tmp/compile.bat")},
    };
#endif
    for (const auto& [bat, handedOn] : cases) {
        std::filesystem::remove(dir.fsPath("go"));
        std::string error;
        const std::unique_ptr<ConsoleRun> run = ConsoleRun::start(bat, &error);
        if (!run) {
            ADD_FAILURE() << bat << ": " << error;
            continue;
        }
        EXPECT_FALSE(run->finished()) << bat; // held until "go" exists
        dir.write("go", "");
        if (!run->wait(120000)) {
            ADD_FAILURE() << bat << ": did not end";
            continue;
        }
        EXPECT_TRUE(run->finished()) << bat;
        EXPECT_EQ(run->exitCode(), 7) << bat;
#ifdef _WIN32
        EXPECT_EQ(dir.read("ran.txt"), "passed through\r\n") << bat;
#else
        EXPECT_EQ(dir.read("args.txt"), "cmd\n/c\n" + handedOn + "\n") << bat;
#endif
    }
#ifndef _WIN32
    qmxtest::ScopedEnv::set("PATH", dir.path("no runner here")); // reported, not run
    std::string error;
    EXPECT_EQ(ConsoleRun::start("Z:\\x.bat", &error), nullptr);
    EXPECT_NE(error.find("wineconsole"), std::string::npos) << error;
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
        {"plain words", "xchm help.chm", {"xchm", "help.chm"}},
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
