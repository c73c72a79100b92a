#pragma once

// Runs compile.bat in a console window and waits for it while the main window stays alive: it keeps
// repainting, shows the running time in its status line, and takes no commands meanwhile.

#include <QString>

class Form1;

namespace qmx::compile {

class ConsoleWait
{
public:
    explicit ConsoleWait(Form1* form);
    ~ConsoleWait();
    ConsoleWait(const ConsoleWait&) = delete;
    ConsoleWait& operator=(const ConsoleWait&) = delete;

    // Starts the batch file (Windows-form path) and returns once it has ended. False, with the reason
    // in *error, when it could not be started.
    bool run(const QString& batchPath, QString* error);

private:
    void setCommandsEnabled(bool enabled);
    void showElapsed(qint64 ms);

    Form1* m_form;
    bool m_savedEnabled[4] = {};
};

} // namespace qmx::compile
