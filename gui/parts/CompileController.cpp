#include "gui/parts/CompileController.h"

#include "core/compile/CompileRunner.h"
#include "core/compile/DurationText.h"
#include "core/game/GameSettings.h"
#include "gui/parts/CompileOutput.h"
#include "gui/parts/GameControls.h"
#include "gui/toolkit/MessageBox.h"
#include "gui/toolkit/Texts.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include <mutex>

namespace qmx::compile {

namespace {

QString qs(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// The refusal's text and, on a line of its own, what exactly was wrong.
void refuse(const Refused& refused)
{
    QString prompt = languageText(refusalText(refused.reason));
    if (!refused.detail.empty())
        prompt += QStringLiteral("\n\n") + qs(refused.detail);
    MsgBox(prompt, vbCritical);
}

// Which tool failed and why, what it wrote last, and where the whole run is.
QString failureMessage(const RunReport& report, const ToolReport& tool)
{
    QStringList lines = {qs(toolConclusion(tool)), languageText(config::Text::CompileStoppedHere)};
    if (!tool.lastLines.empty()) {
        lines << QString() << languageText(config::Text::CompileLastLines);
        for (const std::string& line : tool.lastLines)
            lines << qs(line);
    }
    if (!report.logPath.empty())
        lines << QString() << languageText(config::Text::CompileLog) + QLatin1Char(' ') + qs(report.logPath);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

// Carries the runner's reports from its thread into the window's, in the order they came. Output lines
// that arrive together travel together, so a tool writing fast does not flood the event queue.
class CompileController::Relay : public RunObserver
{
public:
    explicit Relay(CompileController& to)
        : m_to(&to)
    {
    }

    void toolStarted(const PlannedTool& tool) override
    {
        queue([this, tool] { m_to->toolStarted(tool); });
    }
    void outputLine(const std::string& utf8) override
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_queue.empty() || m_queue.back().call)
            push({});
        m_queue.back().lines << qs(utf8);
    }
    void toolEnded(const ToolReport& report) override
    {
        queue([this, report] { m_to->toolEnded(report); });
    }
    void runEnded(const RunReport& report) override
    {
        queue([this, report] { m_to->runEnded(report); });
    }

    CompileRunner runner{*this}; // last, so it stops and ends its thread before the rest goes

private:
    // Output lines, or a report to hand over.
    struct Item
    {
        QStringList lines;
        std::function<void()> call;
    };

    void queue(std::function<void()> call)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        push({{}, std::move(call)});
    }
    // Called with the mutex held; one delivery is on its way while the queue is not empty.
    void push(Item item)
    {
        const bool first = m_queue.empty();
        m_queue.push_back(std::move(item));
        if (first)
            QMetaObject::invokeMethod(
                m_to, [this] { deliver(); }, Qt::QueuedConnection);
    }
    void deliver()
    {
        std::vector<Item> items;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            items.swap(m_queue);
        }
        for (const Item& item : items) {
            if (item.call)
                item.call();
            else
                m_to->m_output->appendLines(item.lines);
        }
    }

    CompileController* m_to;
    std::mutex m_mutex;
    std::vector<Item> m_queue;
};

struct CompileController::Run
{
    CompileRequest request;
    CompilePlan plan;
    bool runMap = false;
    QElapsedTimer clock;
    QTimer tick;
    QStringList toolTimes; // "qmxbsp.exe 0:00.03" for each tool that has ended
};

CompileController::CompileController(const JobWindow& window, QObject* parent)
    : QObject(parent)
    , m_window(window)
    , m_relay(std::make_unique<Relay>(*this))
{
    if (m_window.stop)
        connect(m_window.stop, &QAction::triggered, this, &CompileController::stop);
}

CompileController::~CompileController()
{
    m_relay.reset(); // stops a run that still goes on before the window parts go
    delete m_output;
}

bool CompileController::running() const
{
    return m_relay->runner.running();
}

void CompileController::stop()
{
    m_relay->runner.stop();
}

void CompileController::stopThen(std::function<void()> then)
{
    m_then = std::move(then);
    stop();
}

void CompileController::compile(const CompileRequest& request, bool runMap)
{
    if (running())
        return;
    if (const std::optional<Refusal> refusal = checkSelection(request)) {
        MsgBox(languageText(refusalText(*refusal)), vbInformation);
        return;
    }
    if (const std::optional<Refused> unsafe = checkLines(request)) {
        refuse(*unsafe);
        return;
    }
    storeSetting(config::Setting::LastFile, qs(request.mapFile));
    storeSetting(config::Setting::LastDir, qs(request.mapDir));
    storeSetting(config::Setting::LastMapDir, qs(request.gameDir));

    PlanResult planned = planCompile(request);
    if (!planned.plan) {
        refuse(planned.refused);
        return;
    }
    if (const std::optional<Refused> failed = writeBatch(*planned.plan)) {
        refuse(*failed);
        return;
    }

    m_run = std::make_unique<Run>();
    m_run->request = request;
    m_run->plan = std::move(*planned.plan);
    m_run->runMap = runMap;
    if (!m_output) {
        m_output = new CompileOutput(m_window.window); // a window of its own, found among the main window's
        connect(m_output, &CompileOutput::stopClicked, this, &CompileController::stop);
    }
    m_output->begin();
    m_output->show();
    m_output->raise();
    lock(true);
    m_run->clock.start();
    connect(&m_run->tick, &QTimer::timeout, this, &CompileController::showStatus);
    m_run->tick.start(250);
    showStatus();
    m_relay->runner.start(m_run->plan);
}

void CompileController::lock(bool locked)
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
        if (locked)
            m_controlsEnabled = m_window.controls->isEnabled();
        m_window.controls->setEnabled(locked ? false : m_controlsEnabled);
    }
    if (!m_window.window || !m_window.stop)
        return;
    // Stop stands in the menu bar only while there is something to stop.
    QMenuBar* bar = m_window.window->menuBar();
    if (!locked) {
        bar->removeAction(m_window.stop);
        return;
    }
    const QList<QAction*> actions = bar->actions();
    bar->insertAction(actions.value(actions.indexOf(m_window.commands.value(0)) + 1), m_window.stop);
}

void CompileController::showStatus()
{
    if (!m_window.window || !m_run)
        return;
    const qint64 seconds = m_run->clock.elapsed() / 1000;
    QString status = languageText(config::Text::CompileRunning) + QLatin1Char(' ')
        + qs(formatElapsedTime(static_cast<std::int32_t>(seconds), false));
    if (!m_run->toolTimes.isEmpty())
        status += QStringLiteral("   ") + m_run->toolTimes.join(QStringLiteral(", "));
    m_window.window->statusBar()->showMessage(status);
}

void CompileController::toolStarted(const PlannedTool& tool)
{
    const QString heading = qs(toolHeading(tool));
    m_output->appendLines(m_run->toolTimes.isEmpty() ? QStringList{heading} : QStringList{QString(), heading});
}

void CompileController::toolEnded(const ToolReport& report)
{
    m_output->appendLines({qs(toolConclusion(report))});
    m_run->toolTimes << qs(std::string(toolFileName(report.tool)) + " "
                           + numericDuration(roundToWholeSeconds(report.tenThousandths)));
    showStatus();
}

void CompileController::runEnded(const RunReport& report)
{
    m_relay->runner.wait();
    const std::unique_ptr<Run> run = std::move(m_run);
    lock(false);
    QString conclusion = languageText(config::Text::CompileStoppedHere);
    if (report.outcome == RunOutcome::Succeeded)
        conclusion
            = languageText(config::Text::Compile) + QLatin1Char(' ') + qs(formatElapsedTime(report.seconds, true));
    else if (report.outcome == RunOutcome::Stopped)
        conclusion = languageText(config::Text::CompileStopped);
    m_output->end(conclusion, qs(report.logPath));
    // Each tool's time, and how the one that failed ended.
    QStringList times = run->toolTimes;
    if (const ToolReport* failed = report.ended(); failed && failed->outcome != ToolOutcome::Stopped)
        times.last() = qs(toolConclusion(*failed));
    if (QStatusBar* status = m_window.window ? m_window.window->statusBar() : nullptr)
        status->showMessage(report.outcome == RunOutcome::Stopped ? conclusion : times.join(QStringLiteral(", ")));
    // The user may have switched to another window during a long compile.
    if (m_window.window && !m_window.window->isActiveWindow())
        QApplication::alert(m_window.window);

    if (report.outcome == RunOutcome::Succeeded) {
        MsgBox(conclusion, vbInformation);
        // The copy comes after the message; the game runs only on a fresh copy.
        const bool copied = copyCompiledMap(run->plan);
        if (run->runMap)
            ShowGameRun(
                game::runCompiledMap({run->request.mapFile, run->request.gameDir, game::readGameSettings()}, copied),
                m_window.window);
    } else if (const ToolReport* failed = report.ended(); failed && report.outcome == RunOutcome::Failed) {
        const QString log = qs(report.logPath);
        if (MsgBox(failureMessage(report, *failed), vbCritical, QString(),
                   log.isEmpty() ? QString() : languageText(config::Text::CompileOpenLog))
            == vbAction)
            OpenLog(log);
    }
    if (const std::function<void()> then = std::exchange(m_then, nullptr))
        then();
    emit ended();
}

} // namespace qmx::compile
