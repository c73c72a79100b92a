#include "gui/parts/CompileOutput.h"

#include "core/os/Os.h"
#include "gui/toolkit/CentreWindow.h"
#include "gui/toolkit/Texts.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace qmx::compile {

namespace {

// Enough for any tool's report; the log keeps everything beyond it.
constexpr int kMaxLines = 50000;
// About a screen refresh: quick to the eye, and the view is painted once for many lines.
constexpr int kFrameMs = 40;

QPushButton* makeButton(const char* name, config::Text caption, QWidget* parent)
{
    auto* button = new QPushButton(languageText(caption), parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(button->text());
    return button;
}

} // namespace

CompileOutput::CompileOutput(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("CompileOutput"));
    setWindowTitle(languageText(config::Text::CompileOutputTitle) + QStringLiteral(" - QMX GUI II"));
    m_view = new QPlainTextEdit(this);
    m_view->setObjectName(QStringLiteral("CompileOutputText"));
    m_view->setAccessibleName(windowTitle());
    m_view->setReadOnly(true);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_view->setMaximumBlockCount(kMaxLines);
    m_view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Read-only text still takes the keyboard, so it can be selected and copied without a mouse.
    m_view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    m_stop = makeButton("CompileStop", config::Text::CompileStop, this);
    m_stop->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F9));
    m_openLog = makeButton("CompileOpenLog", config::Text::CompileOpenLog, this);
    m_close = makeButton("CompileOutputClose", config::Text::CompileClose, this);
    connect(m_stop, &QPushButton::clicked, this, &CompileOutput::stopClicked);
    connect(m_openLog, &QPushButton::clicked, this, [this] { OpenLog(m_logPath); });
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_stop);
    buttons->addWidget(m_openLog);
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);
    m_frame.setSingleShot(true);
    m_frame.setInterval(kFrameMs);
    connect(&m_frame, &QTimer::timeout, this, &CompileOutput::showPending);
    resize(780, 460);
    CentreOnScreen(*this);
}

void CompileOutput::begin()
{
    m_pending.clear();
    m_view->clear();
    m_logPath.clear();
    m_stop->setEnabled(true);
    m_openLog->setEnabled(false);
}

void CompileOutput::appendLines(const QStringList& lines)
{
    // Tools write a line at a time; the view takes them a frame at a time, so that painting keeps up.
    if (m_pending.isEmpty())
        m_frame.start();
    m_pending += lines;
}

void CompileOutput::showPending()
{
    m_frame.stop();
    if (m_pending.isEmpty())
        return;
    QScrollBar* bar = m_view->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    m_view->appendPlainText(m_pending.join(QLatin1Char('\n')));
    m_pending.clear();
    if (atEnd)
        bar->setValue(bar->maximum());
}

void CompileOutput::end(const QString& conclusion, const QString& logPath)
{
    appendLines({QString(), conclusion});
    showPending();
    m_logPath = logPath;
    m_stop->setEnabled(false);
    m_openLog->setEnabled(!logPath.isEmpty());
}

void OpenLog(const QString& logPath)
{
    if (!logPath.isEmpty())
        os::shellOpen(logPath.toStdString());
}

} // namespace qmx::compile
