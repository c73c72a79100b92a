// How long the directory and file lists take to show a directory of 50,000 entries, and that a
// directory taken away while shown leaves them usable. Run offscreen:
//   QT_QPA_PLATFORM=offscreen build/bench/bench_startup_lists [entries]

#include "core/os/Os.h"
#include "gui/toolkit/DirList.h"
#include "gui/toolkit/FileList.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

double timeMs(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 50000;
    QTemporaryDir root;
    // No prefix: Z: is the root of the file system, so every host path has a Windows form.
    const QTemporaryDir noPrefix;
    qputenv("WINEPREFIX", QFile::encodeName(noPrefix.path() + QStringLiteral("/none")));

    const QString files = root.path() + QStringLiteral("/files");
    const QString dirs = root.path() + QStringLiteral("/dirs");
    QDir().mkpath(files);
    QDir().mkpath(dirs);
    for (int i = 0; i < entries; ++i) {
        QFile f(files + QStringLiteral("/map%1.%2").arg(i, 5, 10, QLatin1Char('0')).arg(i % 2 ? "vmf" : "VMF"));
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        QDir().mkdir(dirs + QStringLiteral("/dir%1").arg(i, 5, 10, QLatin1Char('0')));
    }
    const QString filesWin = QString::fromStdString(qmx::os::toWindowsPath(files.toStdString()));
    const QString dirsWin = QString::fromStdString(qmx::os::toWindowsPath(dirs.toStdString()));

    qmx::FileList fileList(QStringLiteral("File1"));
    fileList.setPattern(QStringLiteral("*.vmf"));
    qmx::DirList dirList(QStringLiteral("Dir1"));
    fileList.show();
    dirList.show();

    const double fileMs = timeMs([&] { fileList.setPath(filesWin); });
    const double dirMs = timeMs([&] { dirList.setPath(dirsWin); });
    std::printf("file list, %d matching files: %.1f ms (%d rows)\n", entries, fileMs, fileList.count());
    std::printf("directory list, %d subdirectories: %.1f ms (%d rows)\n", entries, dirMs, dirList.count());

    QDir(dirs).removeRecursively();
    QDir(files).removeRecursively();
    const double goneMs = timeMs([&] {
        dirList.refresh();
        dirList.setPath(dirsWin + QStringLiteral("\\dir00001"));
        fileList.refresh();
    });
    std::printf(
        "after deleting both directories: %.1f ms, directory list still at %s with %d rows, file list %d rows\n",
        goneMs, qPrintable(dirList.Path()), dirList.count(), fileList.count());
    return 0;
}
