#include "gui/windows/Form3.h"

#include "core/os/Os.h"
#include "gui/toolkit/Application.h"
#include "gui/toolkit/CentreWindow.h"
#include "gui/toolkit/Module1Ini.h"

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

Form3::Form3(QWidget* returnTo)
    : QMainWindow(nullptr)
    , m_returnTo(returnTo)
{
    initCreditsResource();
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("QMX GUI II - Credits, Advice and other stuff"));

    MenuBack = new QAction(QStringLiteral("\u00ab\u00ab Back"), this);
    MenuBack->setObjectName(QStringLiteral("MenuBack"));
    menuBar()->addAction(MenuBack);
    connect(MenuBack, &QAction::triggered, this, [this] { Form3_MenuBack_Click(); });

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->setSpacing(6);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Picture1 = new QLabel(central);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(QPixmap(QStringLiteral(":/credits.jpg")));
    Picture1->setFixedSize(505, 319);
    Picture1->setAccessibleName(QStringLiteral("QMX GUI II"));
    layout->addWidget(Picture1);

    Label1 = new QLabel(DownloadAddress(), central);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setStyleSheet(QStringLiteral("color: #0645ad;"));
    QFont linkFont = Label1->font();
    linkFont.setUnderline(true);
    Label1->setFont(linkFont);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->setFocusPolicy(Qt::TabFocus);
    Label1->setAccessibleName(DownloadAddress());
    Label1->installEventFilter(this);
    layout->addWidget(Label1);

    setCentralWidget(central);
    adjustSize();
}

Form3::~Form3() = default;

QString Form3::DownloadAddress()
{
    return QStringLiteral("http://" QMX_DOWNLOAD_HOST "/index.php?woof=downloads");
}

void Form3::Form3_Form_Load()
{
    m_loaded = true;
    qmx::CentreOnScreen(*this);
    MenuBack->setText(QStringLiteral("\u00ab\u00ab ") + Module1::Text(qmx::config::Text::Credits));
    setWindowTitle(QStringLiteral("QMX GUI II ") + Module1::Text(qmx::config::Text::Form3));
}

void Form3::Form3_Label1_Click()
{
    // The shell's answer is not examined: a missing browser is the desktop's business.
    qmx::os::shellOpen(Label1->text().toStdString());
}

void Form3::Form3_MenuBack_Click()
{
    hide();
    if (m_returnTo)
        m_returnTo->show();
}

void Form3::Form3_Form_Unload()
{
    qmx::EndProgram();
}

void Form3::showEvent(QShowEvent* event)
{
    if (!m_loaded)
        Form3_Form_Load();
    QMainWindow::showEvent(event);
}

void Form3::closeEvent(QCloseEvent* event)
{
    // Ends the program without storing anything; the window itself stays as it is until then.
    event->ignore();
    Form3_Form_Unload();
}

bool Form3::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label1) {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && Label1->rect().contains(mouse->position().toPoint())) {
                Form3_Label1_Click();
                return true;
            }
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
                Form3_Label1_Click();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
