#include "gui/windows/MainWindow.h"

#include "core/compile/Timer.h"
#include "core/os/Os.h"
#include "core/storage/ProgramFiles.h"
#include "core/storage/SdkDirectory.h"
#include "gui/parts/CompileController.h"
#include "gui/parts/GameBrowser.h"
#include "gui/parts/GameControls.h"
#include "gui/parts/HelpCommand.h"
#include "gui/parts/MapBrowser.h"
#include "gui/parts/OptionPages.h"
#include "gui/parts/PresetMenu.h"
#include "gui/toolkit/Application.h"
#include "gui/toolkit/CentreWindow.h"
#include "gui/toolkit/CheckBox.h"
#include "gui/toolkit/MessageBox.h"
#include "gui/toolkit/Texts.h"
#include "gui/windows/CreditsWindow.h"
#include "gui/windows/SdkFolderWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qmx {

namespace {

QAction* makeAction(QObject* parent, const char* name, const QString& caption, const QKeySequence& key = {})
{
    auto* action = new QAction(caption, parent);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    return action;
}

// Alt + the first letter or digit of a caption; none when it has neither.
QKeySequence accessKey(const QString& caption)
{
    for (const QChar c : caption) {
        if (c.isLetterOrNumber())
            return QKeySequence(QStringLiteral("Alt+") + c.toUpper());
    }
    return QKeySequence();
}

} // namespace

MainWindow::MainWindow()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("QMX GUI II - Map Compiler"));
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    setCentralWidget(central);
    // In reading order, which is the order the keyboard walks them.
    m_map = new MapBrowser(central);
    m_game = new GameBrowser(central);
    m_pages = new OptionPages(central);
    m_gameControls = new GameControls(*m_map, *m_game, this);
    buildMenus();
    buildCentral();
}

MainWindow::~MainWindow()
{
    delete m_compile; // its tools stop before the window's parts go
}

void MainWindow::buildMenus()
{
    m_compileAction = makeAction(this, "MenuCompile", tr("Compile"), Qt::Key_F9); // the key level designers know
    m_stopAction = makeAction(this, "MenuStop", QString(), Qt::SHIFT | Qt::Key_F9);
    m_presets = new PresetMenu(*m_pages, this);
    m_creditsAction = makeAction(this, "MenuCredits", QStringLiteral("!"));
    m_creditsAction->setToolTip(tr("Credits"));
    m_helpAction = makeAction(this, "MenuHelp", QStringLiteral("?"), Qt::Key_F1);
    m_helpAction->setToolTip(tr("Help"));
    menuBar()->addAction(m_compileAction);
    menuBar()->addMenu(m_presets);
    menuBar()->addAction(m_creditsAction);
    menuBar()->addAction(m_helpAction);
    connect(m_compileAction, &QAction::triggered, this, &MainWindow::compile);
    connect(m_creditsAction, &QAction::triggered, this, &MainWindow::showCredits);
    connect(m_helpAction, &QAction::triggered, this, &OpenHelpFile);

    m_compileKey = new QShortcut(this);
    connect(m_compileKey, &QShortcut::activated, m_compileAction, &QAction::trigger);
    m_presetsKey = new QShortcut(this);
    connect(m_presetsKey, &QShortcut::activated, this, [this] { menuBar()->setActiveAction(m_presets->menuAction()); });
}

void MainWindow::buildCentral()
{
    auto* gameRow = new QHBoxLayout;
    gameRow->addWidget(m_gameControls->runMap(), 1);
    gameRow->addWidget(m_gameControls->gameCommand());
    m_game->rows()->addWidget(m_pages->copyFile());
    m_game->rows()->addLayout(gameRow);
    auto* frames = new QHBoxLayout;
    frames->addWidget(m_map, 3);
    frames->addWidget(m_game, 2);
    auto* masters = new QHBoxLayout;
    for (const Page page : {Page::Bsp, Page::Vis, Page::Rad})
        masters->addWidget(m_pages->master(page));
    masters->addStretch(1);
    m_sdkLabel = new QLabel(QStringLiteral("Label1"), centralWidget());
    m_sdkLabel->setObjectName(QStringLiteral("Label1"));
    // Read as "SDK directory" with the directory itself as its description.
    m_sdkLabel->setAccessibleName(tr("SDK directory"));
    m_sdkLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(centralWidget());
    layout->addLayout(frames, 1);
    layout->addLayout(masters);
    layout->addWidget(m_pages->tabs());
    layout->addWidget(m_sdkLabel);
    // The controls the game frame takes in come after its lists for the keyboard too.
    QWidget* previous = m_game->findChild<QWidget*>(QStringLiteral("Dir2"));
    for (QWidget* next :
         {static_cast<QWidget*>(m_pages->copyFile()), static_cast<QWidget*>(m_gameControls->runMap()),
          static_cast<QWidget*>(m_gameControls->gameCommand()), static_cast<QWidget*>(m_pages->master(Page::Bsp))}) {
        setTabOrder(previous, next);
        previous = next;
    }
    // Made now, so the compile's status line does not shift the layout when it first appears.
    statusBar();
}

void MainWindow::start()
{
    compile::initPerformanceTimer();
    // Without the language file there would be no texts to show: refuse before anything is shown.
    if (Dir(QString::fromStdString(languageFilePath())).isEmpty()) {
        MsgBox(QStringLiteral("Language-File not found. Program closed due to missing Language Pack."), vbCritical,
               QStringLiteral("QMX GUI II - Critical Error"));
        EndProgram();
        return;
    }
    CentreOnScreen(*this);
    if (AnotherInstanceRunning()) {
        MsgBox(ExecutableName() + languageText(config::Text::ProgramOpen), vbOKOnly);
        EndProgram();
        return;
    }
    show();
    if (const std::optional<std::string> launcher
        = os::readRegistryString(os::kHkeyCurrentUser, "Software\\Valve\\Steam", "SteamExe"))
        m_launcherPath = QString::fromStdString(*launcher);
    detectSdkDirectory();
    m_map->restore();
    m_game->restore(m_launcherPath);
    setCaptions();
    m_pages->restore(config::read(config::Setting::LastUsedSettings));
    m_gameControls->restore();
}

void MainWindow::detectSdkDirectory()
{
    const QString detected = QString::fromStdString(config::detectSdkDirectory());
    if (detected.isEmpty()) {
        // Not a child, so that hiding the main window leaves it alone.
        m_folderWindow = std::make_unique<SdkFolderWindow>();
        connect(m_folderWindow.get(), &SdkFolderWindow::done, this, [this](const QString& sdkDir) {
            setSdkDirectory(sdkDir);
            show();
        });
        m_folderWindow->load();
        m_folderWindow->show();
        hide();
    }
    setSdkDirectory(detected);
}

void MainWindow::setSdkDirectory(const QString& dir)
{
    m_sdkDir = dir;
    m_sdkLabel->setText(dir);
    m_sdkLabel->setAccessibleDescription(dir);
}

// Every caption is read anew from the language file.
void MainWindow::setCaptions()
{
    m_map->setCaptions();
    m_game->setCaptions();
    m_compileAction->setText(languageText(config::Text::MenuCompile));
    m_stopAction->setText(languageText(config::Text::CompileStop));
    m_presets->setCaptions();
    m_pages->setCaptions();
    m_gameControls->setCaptions();
    updateAccessKeys();
}

// Alt+letter for the Compile command and the Preset menu, from their captions, which stay exactly as the
// language file gives them.
void MainWindow::updateAccessKeys()
{
    m_compileKey->setKey(accessKey(m_compileAction->text()));
    const QKeySequence presetsKey = accessKey(m_presets->title());
    // Two captions with the same first letter: the command keeps its key, the menu stays on the keyboard
    // through the menu bar's arrows.
    m_presetsKey->setKey(presetsKey == m_compileKey->key() ? QKeySequence() : presetsKey);
}

bool MainWindow::compiling() const
{
    return m_compile && m_compile->running();
}

void MainWindow::compile()
{
    // Every input is taken now; the controls stay locked until the run has ended.
    compile::CompileRequest request;
    request.mapFile = m_map->mapFile().toStdString();
    request.mapDir = m_map->mapDir().toStdString();
    request.gameDir = m_game->gameDir().toStdString();
    request.sdkDir = m_sdkDir.toStdString();
    request.options = m_pages->state();
    if (!m_compile) {
        compile::JobWindow window;
        window.window = this;
        window.commands = QList<QAction*>{m_compileAction, m_presets->menuAction(), m_creditsAction, m_helpAction,
                                          m_gameControls->runGame()}
            + m_presets->commands();
        window.controls = centralWidget();
        window.stop = m_stopAction;
        m_compile = new compile::CompileController(window, this);
    }
    m_compile->compile(request, m_gameControls->runMapAfterCompile());
}

void MainWindow::showCredits()
{
    hide();
    if (!m_credits)
        m_credits = std::make_unique<CreditsWindow>(this);
    m_credits->show();
    m_credits->raise();
    m_credits->activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (compiling()) {
        // Closing would end the program under the running tools: the user decides, and the tools stop first.
        event->ignore();
        if (MsgBox(languageText(config::Text::CompileCloseRunning), vbYesNo | vbQuestion) == vbYes)
            m_compile->stopThen([this] { close(); });
        return;
    }
    // Shut-down: the option set in use is kept for the next start, and the program ends at once.
    storeSetting(config::Setting::LastUsedSettings, QString::fromStdString(m_pages->storedOptionString()));
    event->accept();
    EndProgram();
}

} // namespace qmx
