#include "core/os/Os.h"

#include "OsTestDir.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

using qmx::os::anotherInstanceRunning;

namespace {

// A second copy of the program, installed in programDir, in a process of its own: 'y' when it sees another
// copy there. It asks twice: the first call takes the lock, and the second must not see its own.
#ifdef _WIN32
char ask(const std::string& programDir)
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    _putenv_s("QMX_CHILD_DIR", qmx::os::toAnsi(programDir).c_str());
    const intptr_t code
        = _spawnl(_P_WAIT, exe, ("\"" + std::string(exe) + "\"").c_str(), "--gtest_filter=InstanceChild.Run", nullptr);
    _putenv_s("QMX_CHILD_DIR", "");
    return code == 1 ? 'y' : code == 0 ? 'n' : '?';
}
#else
char ask(const std::string& programDir, pid_t* holder = nullptr)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        qmx::os::overrideProgramDirectory(programDir);
        const bool other = anotherInstanceRunning() || anotherInstanceRunning();
        if (holder && !other)
            ::raise(SIGSTOP); // a holder keeps the lock until it is killed
        ::_exit(other ? 1 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, WUNTRACED);
    if (holder)
        *holder = pid;
    if (WIFSTOPPED(status))
        return 'n';
    return WIFEXITED(status) ? "ny"[WEXITSTATUS(status) == 1] : '?';
}
#endif

} // namespace

#ifdef _WIN32
// The second copy's side; does nothing when run on its own.
TEST(InstanceChild, Run)
{
    const std::string dir = qmx::os::getEnv("QMX_CHILD_DIR");
    if (dir.empty())
        GTEST_SKIP() << "only run by Instance.SecondCopySeesTheFirst";
    qmx::os::overrideProgramDirectory(dir);
    std::exit(anotherInstanceRunning() || anotherInstanceRunning() ? 1 : 0);
}
#endif

TEST(Instance, SecondCopySeesTheFirst)
{
    qmxtest::OsTestDir dir;
    const std::string programDir = dir.path("prog");
#ifdef _WIN32
    qmx::os::overrideProgramDirectory(programDir); // this process is the first copy
    ASSERT_FALSE(anotherInstanceRunning());
    qmx::os::overrideProgramDirectory({});
#else
    pid_t first = 0;
    ASSERT_EQ(ask(programDir, &first), 'n');
#endif
    EXPECT_EQ(ask(programDir), 'y');
    EXPECT_EQ(ask(dir.path("other prog")), 'n'); // a copy installed elsewhere is another program
#ifndef _WIN32
    ::kill(first, SIGKILL); // however the first copy ends, it no longer counts
    ::waitpid(first, nullptr, 0);
    EXPECT_EQ(ask(programDir), 'n');
#endif
}
