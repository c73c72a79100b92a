// The compile job's own overhead: from the Compile command to the start of compile.bat plus from its
// end to the completion message, measured as the job's time minus a direct run of the same batch with
// the same runner. Stand-in tools that exit at once keep the batch itself short.
//
//   bench_compile_overhead [runs] [--wine]
// Without --wine a do-nothing wineconsole on the PATH isolates the job's own cost; with --wine the real
// Wine console runs the stand-ins (needs DISPLAY, e.g. under xvfb-run).

#include "core/os/ConsoleRun.h"
#include "core/os/Os.h"
#include "main_window/Form1.h"
#include "toolkit/CheckBox.h"
#include "toolkit/DirList.h"
#include "toolkit/FileList.h"
#include "toolkit/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

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

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int runs = 10;
    bool realWine = false;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--wine")
            realWine = true;
        else if (QByteArray(argv[i]).toInt() > 0)
            runs = QByteArray(argv[i]).toInt();
    }

    QTemporaryDir tmp(QDir::tempPath() + QStringLiteral("/qmx bench XXXXXX"));
    const QString prog = tmp.path() + QStringLiteral("/prog");
    const QString sdk = tmp.path() + QStringLiteral("/sdk bin");
    const QString maps = tmp.path() + QStringLiteral("/maps");
    const QString game = tmp.path() + QStringLiteral("/game");
    const QString fakeBin = tmp.path() + QStringLiteral("/fake");
    for (const QString& d : {prog, sdk, maps, game, fakeBin})
        QDir().mkpath(d);
    writeHost(prog + QStringLiteral("/language.qmxII"),
              "[language]\r\nCompile=Done in\r\nhour=hour\r\nminute=minute\r\nsecond=second\r\nand=and\r\n");
    writeHost(maps + QStringLiteral("/m.vmf"), "versioninfo\n");
    qmx::os::overrideProgramDirectory(prog.toStdString());

    const QString standins = QCoreApplication::applicationDirPath() + QStringLiteral("/../standin");
    for (const char* tool : {"qmxbsp.exe", "qmxvis.exe", "qmxrad.exe"}) {
        if (!QFile::copy(standins + QLatin1Char('/') + QLatin1String(tool),
                         sdk + QLatin1Char('/') + QLatin1String(tool))) {
            std::fprintf(stderr, "stand-in %s not found in %s\n", tool, qPrintable(standins));
            return 1;
        }
    }
    if (!realWine) {
        writeHost(fakeBin + QStringLiteral("/wineconsole"), "#!/bin/sh\nexit 0\n");
        QFile::setPermissions(fakeBin + QStringLiteral("/wineconsole"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        qputenv("PATH", fakeBin.toUtf8() + ':' + qgetenv("PATH"));
    }
    qputenv("vproject", "Z:\\bench mod");
    qputenv("QMX_STANDIN_SECONDS", "0");
    qputenv("QMX_STANDIN_LOG", win(tmp.path() + QStringLiteral("/tools.log")).toUtf8());

    Form1 form;
    form.SDKDir = win(sdk);
    form.Dir2->setPath(win(game));
    form.Dir1->setPath(win(maps));
    form.File1->setCurrentRow(0);
    form.BSP->setValue(1);
    form.VIS->setValue(1);
    form.RAD->setValue(1);
    form.CopyFile->setValue(1);
    form.show();
    if (form.File1->FileName().isEmpty()) {
        std::fprintf(stderr, "map not listed\n");
        return 1;
    }

    QElapsedTimer clock;
    qint64 messageAt = 0;
    qmx::setMessageBoxHandler([&](const QString&, int, const QString&) { messageAt = clock.nsecsElapsed(); });
    const std::string batch = (win(sdk) + QStringLiteral("\\compile.bat")).toStdString();

    std::vector<double> job, direct;
    const auto runJob = [&] {
        clock.start();
        form.Form1_MenuCompile_Click();
        return messageAt / 1e6;
    };
    const auto runDirect = [&]() -> double {
        clock.start();
        std::string error;
        std::unique_ptr<qmx::os::ConsoleRun> run = qmx::os::ConsoleRun::start(batch, &error);
        if (!run) {
            std::fprintf(stderr, "runner: %s\n", error.c_str());
            return -1;
        }
        run->wait(-1);
        return clock.nsecsElapsed() / 1e6;
    };
    for (int i = 0; i <= runs; ++i) { // the first round warms up (Wine's server, caches)
        // Alternate the order so that neither side always runs right after the other.
        double jobMs = 0, directMs = 0;
        if (i % 2 == 0) {
            jobMs = runJob();
            directMs = runDirect();
        } else {
            directMs = runDirect();
            jobMs = runJob();
        }
        if (directMs < 0)
            return 1;
        if (i > 0) {
            job.push_back(jobMs);
            direct.push_back(directMs);
        }
    }
    const double j = median(job), d = median(direct);
    std::printf("runner: %s, runs: %d\n", realWine ? "wineconsole (Wine)" : "do-nothing wineconsole", runs);
    std::printf("median job (Compile to message): %.2f ms\n", j);
    std::printf("median direct run of the same batch: %.2f ms\n", d);
    std::printf("overhead: %.2f ms, ratio job/direct: %.3f\n", j - d, d > 0 ? j / d : 0.0);
    return 0;
}
