#include "toolkit/os/Os.h"

#include "OsTestDir.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs anotherInstanceRunning() in a fresh child process and returns its answer.
bool askInChild(const std::string& programDir)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        qmx::os::overrideProgramDirectory(programDir);
        ::_exit(qmx::os::anotherInstanceRunning() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

// A child that takes the lock, says so through a pipe and then waits to be killed.
pid_t holderChild(const std::string& programDir)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        qmx::os::overrideProgramDirectory(programDir);
        const char answer = qmx::os::anotherInstanceRunning() ? 'y' : 'n';
        (void)!::write(fds[1], &answer, 1);
        for (;;)
            ::pause();
    }
    ::close(fds[1]);
    char answer = 0;
    const bool ok = ::read(fds[0], &answer, 1) == 1 && answer == 'n';
    ::close(fds[0]);
    return ok ? pid : -1;
}

} // namespace

TEST(Instance, SecondCopySeesTheFirstUntilItDies)
{
    qmxtest::OsTestDir dir;
    const std::string programDir = dir.path("prog");
    const std::string otherDir = dir.path("other prog");
    EXPECT_FALSE(askInChild(programDir));

    const pid_t first = holderChild(programDir);
    ASSERT_GT(first, 0);
    EXPECT_TRUE(askInChild(programDir));
    // A copy installed elsewhere is another program.
    EXPECT_FALSE(askInChild(otherDir));

    // However the first copy ends, it no longer counts.
    ::kill(first, SIGKILL);
    ::waitpid(first, nullptr, 0);
    EXPECT_FALSE(askInChild(programDir));
}

TEST(Instance, AnswerStaysTheSameWithinAProcess)
{
    qmxtest::OsTestDir dir;
    const pid_t pid = ::fork();
    if (pid == 0) {
        qmx::os::overrideProgramDirectory(dir.path("prog"));
        const bool first = qmx::os::anotherInstanceRunning();
        const bool second = qmx::os::anotherInstanceRunning();
        ::_exit(!first && !second ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
#endif
