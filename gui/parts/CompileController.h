#pragma once

// The main window's compile command: the checks with their messages, the settings it records, compile.bat,
// then the tools run by the compile runner while the window goes on, with their output in the output
// window and the running time in the status line. At the end: the time in words, the copy and the game on
// the copied map; or which tool failed and why, with nothing copied and no game started; or "stopped".

#include "core/compile/CompilePlan.h"

#include <QList>
#include <QObject>

#include <functional>
#include <memory>

class QAction;
class QMainWindow;
class QWidget;

namespace qmx::compile {

class CompileOutput;
struct ToolReport;
struct RunReport;

// What the window offers a compile.
struct JobWindow
{
    QMainWindow* window = nullptr; // its status line shows the time; it is alerted when the run ends
    QList<QAction*> commands; // refused during the run; the first is the compile command
    QWidget* controls = nullptr; // locked during the run, so what the compile took stays what is shown
    QAction* stop = nullptr; // in the menu bar after the compile command while the run goes on
};

class CompileController : public QObject
{
    Q_OBJECT
public:
    explicit CompileController(const JobWindow& window, QObject* parent = nullptr);
    ~CompileController() override;

    // Takes every input from the request now. With runMap the game then starts on the copied map.
    void compile(const CompileRequest& request, bool runMap);
    // True from the start of the tools until their end has come in.
    bool running() const;
    void stop();
    // Stops a running compile, and calls `then` once its end has been handled.
    void stopThen(std::function<void()> then);

    // The output window; nullptr before the first compile.
    CompileOutput* output() const { return m_output; }

signals:
    // The run's end has been handled: reported, and the map copied and the game started as asked.
    void ended();

private:
    class Relay;
    struct Run;
    void lock(bool locked);
    void showStatus();
    void toolStarted(const PlannedTool& tool);
    void toolEnded(const ToolReport& report);
    void runEnded(const RunReport& report);

    JobWindow m_window;
    std::unique_ptr<Relay> m_relay;
    std::unique_ptr<Run> m_run; // what the running compile took, and how far it has come
    CompileOutput* m_output = nullptr;
    QList<bool> m_savedEnabled;
    bool m_controlsEnabled = true;
    std::function<void()> m_then;
};

} // namespace qmx::compile
