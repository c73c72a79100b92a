#include "gui/windows/CreditsWindow.h"

#include "core/os/Os.h"
#include "gui/toolkit/Application.h"
#include "gui/toolkit/CentreWindow.h"
#include "gui/toolkit/Texts.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmap>
#include <QVBoxLayout>

// The picture is compiled into the library; a static library needs its resources pulled in by hand.
static void initCreditsResource()
{
    Q_INIT_RESOURCE(credits);
}

namespace qmx {

CreditsWindow::CreditsWindow(QWidget* returnTo)
    : QMainWindow(nullptr)
    , m_returnTo(returnTo)
{
    initCreditsResource();
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("QMX GUI II - Credits, Advice and other stuff"));
    m_back = new QAction(QStringLiteral("\u00ab\u00ab Back"), this);
    m_back->setObjectName(QStringLiteral("MenuBack"));
    menuBar()->addAction(m_back);
    connect(m_back, &QAction::triggered, this, [this] {
        hide();
        if (m_returnTo)
            m_returnTo->show();
    });

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->setSpacing(6);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* picture = new QLabel(central);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(QPixmap(QStringLiteral(":/credits.jpg")));
    picture->setFixedSize(505, 319);
    picture->setAccessibleName(QStringLiteral("QMX GUI II"));
    layout->addWidget(picture);

    m_address = new QLabel(downloadAddress(), central);
    m_address->setObjectName(QStringLiteral("Label1"));
    m_address->setAlignment(Qt::AlignCenter);
    m_address->setStyleSheet(QStringLiteral("color: #0645ad;"));
    QFont linkFont = m_address->font();
    linkFont.setUnderline(true);
    m_address->setFont(linkFont);
    m_address->setCursor(Qt::PointingHandCursor);
    m_address->setFocusPolicy(Qt::TabFocus);
    m_address->setAccessibleName(downloadAddress());
    m_address->installEventFilter(this);
    layout->addWidget(m_address);
    setCentralWidget(central);
    adjustSize();
}

QString CreditsWindow::downloadAddress()
{
    return QStringLiteral("http://" QMX_DOWNLOAD_HOST "/index.php?woof=downloads");
}

void CreditsWindow::showEvent(QShowEvent* event)
{
    if (!m_loaded) {
        m_loaded = true;
        CentreOnScreen(*this);
        m_back->setText(QStringLiteral("\u00ab\u00ab ") + languageText(config::Text::Credits));
        setWindowTitle(QStringLiteral("QMX GUI II ") + languageText(config::Text::Form3));
    }
    QMainWindow::showEvent(event);
}

void CreditsWindow::closeEvent(QCloseEvent* event)
{
    // The window itself stays as it is until the program has ended.
    event->ignore();
    EndProgram();
}

bool CreditsWindow::eventFilter(QObject* watched, QEvent* event)
{
    bool clicked = false;
    if (watched == m_address && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        clicked = mouse->button() == Qt::LeftButton && m_address->rect().contains(mouse->position().toPoint());
    } else if (watched == m_address && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        clicked = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    }
    if (!clicked)
        return QMainWindow::eventFilter(watched, event);
    // The shell's answer is not examined: a missing browser is the desktop's business.
    os::shellOpen(m_address->text().toStdString());
    return true;
}

} // namespace qmx
