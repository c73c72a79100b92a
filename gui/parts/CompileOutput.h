#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace qmx::compile {

// The tools' output as it comes and after the run: each tool's line, what it wrote and how it ended. The
// view follows the end unless the user has scrolled back, and its text can be selected and copied. It
// stays open after the run until closed, and the next compile shows it again.
class CompileOutput : public QWidget
{
    Q_OBJECT
public:
    explicit CompileOutput(QWidget* parent = nullptr);

    // A new run: the view emptied, Stop offered.
    void begin();
    void appendLines(const QStringList& lines);
    // The run has ended: its last line, Stop no longer offered, and the log to open when there is one.
    void end(const QString& conclusion, const QString& logPath);

    QPlainTextEdit* view() const { return m_view; }
    QPushButton* stopButton() const { return m_stop; }

signals:
    void stopClicked();

private:
    void showPending();

    QPlainTextEdit* m_view = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_openLog = nullptr;
    QPushButton* m_close = nullptr;
    QString m_logPath;
    QStringList m_pending; // lines not shown yet
    QTimer m_frame;
};

// Opens the log in the desktop's viewer for text; nothing happens when it cannot.
void OpenLog(const QString& logPath);

} // namespace qmx::compile
