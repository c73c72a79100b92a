// The compile's own overhead, in the window and in qmxcompile: a whole compile of three stand-in tools (from
// the command to its end handled, the copy included) against the same three lines of compile.bat run
// straight through the command interpreter, as the batch runs them, in rounds that take turns. What is left
// is ours: the checks, compile.bat, the runner's thread and pipes, the log, the window's updates.
//
//   bench_compile_overhead [rounds]     (Linux, through Wine; goal: at most 20 ms each, exit 1 when missed)

#include "core/os/Os.h"
#include "core/storage/Config.h"
#include "gui/parts/CompileController.h"
#include "gui/toolkit/CheckBox.h"
#include "gui/toolkit/DirList.h"
#include "gui/toolkit/FileList.h"
#include "gui/toolkit/MessageBox.h"
#include "gui/windows/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

QString win(const QString& host)
{
    return QString::fromStdString(qmx::os::toWindowsPath(host.toStdString()));
}

bool writeHost(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Runs a program to its end, its output read and thrown away as the runner reads it; false when it failed.
bool run(std::vector<std::string> argv)
{
    std::vector<char*> args;
    for (std::string& a : argv)
        args.push_back(a.data());
    args.push_back(nullptr);
    int fds[2];
    if (::pipe(fds) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    char buffer[65536];
    while (rc == 0 && ::read(fds[0], buffer, sizeof buffer) > 0) { }
    ::close(fds[0]);
    int status = 0;
    return rc == 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct Figures
{
    const char* name;
    std::vector<double> ms;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 30;
    if (!qEnvironmentVariableIsSet("WINEPREFIX")) // never the user's own prefix, unless asked for
        qputenv("WINEPREFIX", QMX_TEST_WINEPREFIX);
    qputenv("WINEDEBUG", "-all");
    qputenv("QMX_STANDIN_LOG", "NUL");
    qunsetenv("sourcesdk");

    // ASCII: the command interpreter reads batch files in another code page than ours.
    QTemporaryDir tmp(QDir::tempPath() + QStringLiteral("/qmx bench XXXXXX"));
    const QString prog = tmp.path() + "/prog", sdk = tmp.path() + "/sdk bin", maps = tmp.path() + "/maps",
                  game = tmp.path() + "/game";
    for (const QString& dir : {prog, sdk, maps, game})
        QDir().mkpath(dir);
    QFile::copy(QStringLiteral(QMX_COMPILE_EXE), prog + "/qmxcompile");
    QFile::copy(QStringLiteral(QMX_SOURCE_DIR "/resources/language.qmxII"), prog + "/language.qmxII");
    for (const char* tool : {"qmxbsp.exe", "qmxvis.exe", "qmxrad.exe"}) {
        if (!QFile::copy(QStringLiteral(QMX_STANDIN_DIR "/") + tool, sdk + "/" + tool)) {
            std::fprintf(stderr, "stand-in %s not found in %s\n", tool, QMX_STANDIN_DIR);
            return 1;
        }
    }
    writeHost(maps + "/m.vmf", "versioninfo\n");
    qmx::os::overrideProgramDirectory(prog.toStdString());
    qmx::config::write(qmx::config::Setting::LastUsedSettings, "1,1,1|0|0|0|1"); // three tools and the copy
    qmx::config::write(qmx::config::Setting::SDKDir, win(sdk).toStdString());
    qmx::config::write(qmx::config::Setting::LastMapDir, win(game).toStdString());
    qmx::setMessageBoxHandler([](const qmx::MessageBoxContent&) { return int(qmx::vbOK); });

    qmx::MainWindow form;
    form.setSdkDirectory(win(sdk));
    form.findChild<qmx::DirList*>("Dir2")->setPath(win(game));
    form.findChild<qmx::DirList*>("Dir1")->setPath(win(maps));
    form.findChild<qmx::FileList*>("File1")->setCurrentRow(0);
    for (const char* name : {"BSP", "VIS", "RAD", "CopyFile"})
        form.findChild<qmx::CheckBox*>(name)->setValue(1);
    form.show();
    QAction* compile = form.findChild<QAction*>("MenuCompile");
    const auto compileInWindow = [&] {
        compile->trigger();
        while (form.compiling())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return true;
    };
    compileInWindow(); // writes compile.bat, whose lines the direct run takes
    QStringList steps;
    QFile batch(sdk + "/compile.bat");
    batch.open(QIODevice::ReadOnly);
    for (const QByteArray& line : batch.readAll().split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        steps << win(sdk + QString("/step%1.bat").arg(steps.size()));
        writeHost(sdk + QString("/step%1.bat").arg(steps.size() - 1), "@" + line.trimmed() + "\r\n");
    }
    const auto direct = [&] {
        for (const QString& step : steps)
            if (!run({"wine", "C:\\windows\\system32\\cmd.exe", "/c", step.toStdString()}))
                return false;
        return true;
    };
    const auto terminal = [&] { return run({(prog + "/qmxcompile").toStdString(), (maps + "/m.vmf").toStdString()}); };

    Figures figures[] = {{"direct", {}}, {"window", {}}, {"qmxcompile", {}}};
    const std::function<bool()> ways[] = {direct, compileInWindow, terminal};
    for (int round = 0; round <= rounds; ++round) { // the first round warms up
        for (int k = 0; k < 3; ++k) {
            const int way = (round + k) % 3; // each goes first in turn
            QElapsedTimer clock;
            clock.start();
            if (!ways[way]()) {
                std::fprintf(stderr, "round %d: %s failed\n", round, figures[way].name);
                return 1;
            }
            if (round > 0)
                figures[way].ms.push_back(clock.nsecsElapsed() / 1e6);
        }
    }
    std::printf("three stand-in tools through Wine's command interpreter, %d rounds, medians of each round\n", rounds);
    for (const Figures& f : figures)
        std::printf("  %-11s min %8.2f  median %8.2f  max %8.2f ms\n", f.name,
                    *std::min_element(f.ms.begin(), f.ms.end()), median(f.ms),
                    *std::max_element(f.ms.begin(), f.ms.end()));
    bool met = true;
    for (int way = 1; way < 3; ++way) {
        std::vector<double> overhead;
        for (int i = 0; i < rounds; ++i)
            overhead.push_back(figures[way].ms[i] - figures[0].ms[i]);
        const double o = median(overhead);
        met = met && o <= 20.0;
        std::printf("overhead of the %s: %.2f ms (goal: at most 20 ms)\n", figures[way].name, o);
    }
    return met ? 0 : 1;
}
