#include "compile/ConsoleWait.h"

#include "core/compile/DurationText.h"
#include "core/os/ConsoleRun.h"
#include "storage/Module1Ini.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

namespace qmx::compile {

namespace {
// Polling keeps the wait on the one user-interface thread; 10 ms is quick enough not to delay the
// completion message noticeably and cheap (a non-blocking wait on the child).
constexpr int kPollMs = 10;
} // namespace

ConsoleWait::ConsoleWait(const JobWindow& window)
    : m_window(window)
{
}

void ConsoleWait::lock(bool locked)
{
    if (locked)
        m_savedEnabled.clear();
    for (int i = 0; i < m_window.commands.size(); ++i) {
        QAction* action = m_window.commands.at(i);
        if (locked) {
            m_savedEnabled.append(action && action->isEnabled());
            if (action)
                action->setEnabled(false);
        } else if (action) {
            action->setEnabled(m_savedEnabled.value(i, true));
        }
    }
    if (m_window.controls) {
        if (locked) {
            m_controlsEnabled = m_window.controls->isEnabled();
            m_window.controls->setEnabled(false);
        } else {
            m_window.controls->setEnabled(m_controlsEnabled);
        }
    }
}

void ConsoleWait::showElapsed(qint64 ms)
{
    if (!m_window.window)
        return;
    const QString text = Module1::Text(config::Text::CompileRunning) + QLatin1Char(' ')
        + QString::fromStdString(formatElapsedTime(static_cast<qint32>(ms / 1000), false));
    m_window.window->statusBar()->showMessage(text);
}

bool ConsoleWait::run(const QString& batchPath, QString* error)
{
    std::string reason;
    std::unique_ptr<os::ConsoleRun> console = os::ConsoleRun::start(batchPath.toStdString(), &reason);
    if (!console) {
        if (error)
            *error = QString::fromStdString(reason);
        return false;
    }

    lock(true);
    QElapsedTimer clock;
    clock.start();
    showElapsed(0);

    QEventLoop loop;
    QTimer poll;
    qint64 shownSecond = 0;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (console->finished()) {
            loop.quit();
            return;
        }
        const qint64 ms = clock.elapsed();
        if (ms / 1000 != shownSecond) {
            shownSecond = ms / 1000;
            showElapsed(ms);
        }
    });
    poll.start(kPollMs);
    if (!console->finished())
        loop.exec();
    poll.stop();

    if (m_window.window)
        m_window.window->statusBar()->clearMessage();
    lock(false);
    // The user may have switched to another window during a long compile.
    if (m_window.window && !m_window.window->isActiveWindow())
        QApplication::alert(m_window.window);
    return true;
}

} // namespace qmx::compile
