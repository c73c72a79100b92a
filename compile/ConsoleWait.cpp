#include "compile/ConsoleWait.h"

#include "compile/ElapsedTime.h"
#include "compile/JobMessages.h"
#include "core/os/ConsoleRun.h"
#include "main_window/Form1.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

namespace qmx::compile {

namespace {
// Polling keeps the wait on the one user-interface thread; 10 ms is quick enough not to delay the
// completion message noticeably and cheap (a non-blocking wait on the child).
constexpr int kPollMs = 10;
} // namespace

ConsoleWait::ConsoleWait(Form1* form)
    : m_form(form)
{
}

ConsoleWait::~ConsoleWait() = default;

void ConsoleWait::setCommandsEnabled(bool enabled)
{
    QAction* actions[4] = {m_form->MenuCompile, m_form->presets ? m_form->presets->menuAction() : nullptr,
                           m_form->MenuCredits, m_form->MenuHelp};
    for (int i = 0; i < 4; ++i) {
        if (!actions[i])
            continue;
        if (!enabled) {
            m_savedEnabled[i] = actions[i]->isEnabled();
            actions[i]->setEnabled(false);
        } else {
            actions[i]->setEnabled(m_savedEnabled[i]);
        }
    }
}

void ConsoleWait::showElapsed(qint64 ms)
{
    const QString text = jobMessageText(JobMessage::Running) + QLatin1Char(' ')
        + Module1::FormatElapsedTime(static_cast<qint32>(ms / 1000), false);
    m_form->statusBar()->showMessage(text);
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

    m_form->compileRunning = true;
    setCommandsEnabled(false);
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

    m_form->statusBar()->clearMessage();
    setCommandsEnabled(true);
    m_form->compileRunning = false;
    // The user may have switched to another window during a long compile.
    if (!m_form->isActiveWindow())
        QApplication::alert(m_form);
    return true;
}

} // namespace qmx::compile
