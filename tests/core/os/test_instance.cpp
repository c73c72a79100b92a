#include "core/os/Os.h"

#include "support/OsTestDir.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace qmx::os;

// A copy of the program installed in dir: 1 when it sees another copy there. It asks twice: the first call takes
// the lock, and the second must not see its own.
static int copyIn(const std::string& dir)
{
    overrideProgramDirectory(dir);
    return anotherInstanceRunning() || anotherInstanceRunning();
}

// A second copy in a process of its own: 'y' when it sees another.
#ifdef _WIN32
// The second copy's side; does nothing when run on its own.
TEST(InstanceChild, Run)
{
    if (getEnv("QMX_CHILD_DIR").empty())
        GTEST_SKIP() << "only run by the Instance tests";
    std::exit(copyIn(getEnv("QMX_CHILD_DIR")));
}

static char ask(const std::string& programDir)
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const qmxtest::ScopedEnv childDir("QMX_CHILD_DIR", programDir);
    const intptr_t code
        = _spawnl(_P_WAIT, exe, ("\"" + std::string(exe) + "\"").c_str(), "--gtest_filter=InstanceChild.Run", nullptr);
    return code == 1 ? 'y' : code == 0 ? 'n' : '?';
}
#else
// A fork is safe here: test_os starts no threads. A holder keeps its lock, stopped, until it is killed.
static char ask(const std::string& programDir, pid_t* holder = nullptr)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        releaseInstanceLock(); // what the parent held is not the child's
        const int other = copyIn(programDir);
        if (holder && !other)
            ::raise(SIGSTOP);
        ::_exit(other);
    }
    int status = 0;
    ::waitpid(pid, &status, WUNTRACED);
    if (holder)
        *holder = pid;
    return WIFSTOPPED(status) ? 'n' : WIFEXITED(status) ? "ny"[WEXITSTATUS(status) == 1] : '?';
}
#endif

// This process is the first copy; the second sees it until the lock is given up, and the answer is asked anew
// after that, for the program directory then in force. A copy installed elsewhere is another program. However
// the first copy ends, it no longer counts.
TEST(Instance, SecondCopySeesTheFirstUntilItsLockIsReleased)
{
    qmxtest::OsTestDir dir;
    const std::string programDir = dir.path("prog"), elsewhere = dir.path("other prog");
    releaseInstanceLock();
    EXPECT_EQ(copyIn(programDir), 0);
    EXPECT_EQ((std::string{ask(programDir), ask(elsewhere)}), "yn");
    releaseInstanceLock();
    EXPECT_EQ(ask(programDir), 'n');
    EXPECT_EQ(copyIn(elsewhere), 0);
    EXPECT_EQ((std::string{ask(elsewhere), ask(programDir)}), "yn");
    releaseInstanceLock();
    overrideProgramDirectory({});
#ifndef _WIN32
    // A copy killed while it holds the lock (a holder needs fork, which Windows lacks).
    pid_t first = 0;
    ASSERT_EQ(ask(programDir, &first), 'n');
    EXPECT_EQ(ask(programDir), 'y');
    ::kill(first, SIGKILL);
    ::waitpid(first, nullptr, 0);
    EXPECT_EQ(ask(programDir), 'n');
#endif
}
