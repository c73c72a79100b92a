#pragma once

// Runs compile.bat in a console window and waits for it while the main window stays alive: it keeps
// repainting and shows the running time in its status line, while its commands and controls are locked.

#include <QList>
#include <QString>

class QAction;
class QMainWindow;
class QWidget;

namespace qmx::compile {

// What the window offers a compile while it runs.
struct JobWindow
{
    QMainWindow* window = nullptr; // its status line shows the time; it is alerted when the run ends
    QList<QAction*> commands; // refused during the run
    QWidget* controls = nullptr; // locked during the run, so what the job took stays what is shown
};

class ConsoleWait
{
public:
    explicit ConsoleWait(const JobWindow& window);
    ConsoleWait(const ConsoleWait&) = delete;
    ConsoleWait& operator=(const ConsoleWait&) = delete;

    // Starts the batch file (Windows-form path) and returns once it has ended. False, with the reason
    // in *error, when it could not be started.
    bool run(const QString& batchPath, QString* error);

private:
    void lock(bool locked);
    void showElapsed(qint64 ms);

    const JobWindow& m_window;
    QList<bool> m_savedEnabled;
    bool m_controlsEnabled = true;
};

} // namespace qmx::compile
