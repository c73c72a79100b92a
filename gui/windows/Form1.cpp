// The main window's design: menus, the two directory frames, the master check boxes, the three tool
// pages built from the option catalogue, and the SDK directory label.

#include "gui/windows/Form1.h"

#include "core/options/OptionCatalogue.h"
#include "gui/parts/CompileController.h"
#include "gui/parts/OptionControls.h"
#include "gui/parts/PageRules.h"
#include "gui/toolkit/CheckBox.h"
#include "gui/toolkit/DirList.h"
#include "gui/toolkit/DriveList.h"
#include "gui/toolkit/FileList.h"
#include "gui/toolkit/MessageBox.h"
#include "gui/toolkit/Module1Ini.h"
#include "gui/toolkit/TextBox.h"
#include "gui/windows/Form3.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

using Handler = void (Form1::*)();

// The click handlers of the value options and their text boxes, by check box name.
struct ValueOptionHandlers
{
    const char* name;
    Handler boxClick;
    Handler textClick;
};

const ValueOptionHandlers kValueHandlers[] = {
    {"BSPblocks", &Form1::Form1_BSPblocks_Click, &Form1::Form1_BSPblocks_text_Click},
    {"BSPluxelscale", &Form1::Form1_BSPluxelscale_Click, &Form1::Form1_BSPluxelscale_text_Click},
    {"RADlights", &Form1::Form1_RADlights_Click, &Form1::Form1_RADlights_text_Click},
    {"RADbounce", &Form1::Form1_RADbounce_Click, &Form1::Form1_RADbounce_text_Click},
    {"RADluxdensity", &Form1::Form1_RADluxdensity_Click, &Form1::Form1_RADluxdensity_text_Click},
    {"RADmaxdispsamplesize", &Form1::Form1_RADmaxdispsamplesize_Click, &Form1::Form1_RADmaxdispsamplesize_text_Click},
};

const Handler kMasterHandlers[] = {&Form1::Form1_BSP_Click, &Form1::Form1_VIS_Click, &Form1::Form1_RAD_Click};

const Handler kLoadHandlers[] = {&Form1::Form1_loadpreset1_Click, &Form1::Form1_loadpreset2_Click,
                                 &Form1::Form1_loadpreset3_Click, &Form1::Form1_loadpreset4_Click};
const Handler kSaveHandlers[] = {&Form1::Form1_savepreset1_Click, &Form1::Form1_savepreset2_Click,
                                 &Form1::Form1_savepreset3_Click, &Form1::Form1_savepreset4_Click};

} // namespace

struct Form1::Controls
{
    qmx::OptionControls options;
    QShortcut* compileKey = nullptr;
    QShortcut* presetsKey = nullptr;
};

namespace {

QAction* makeAction(QObject* parent, const char* name, const QString& caption)
{
    auto* action = new QAction(caption, parent);
    action->setObjectName(QLatin1String(name));
    return action;
}

QMenu* makeMenu(QWidget* parent, const char* name, const QString& caption)
{
    auto* menu = new QMenu(caption, parent);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

} // namespace

Form1::Form1(QWidget* parent)
    : QMainWindow(parent)
    , m_controls(new Controls)
{
    m_controls->options.makeCurrent();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("QMX GUI II - Map Compiler"));

    // Menus are commands: none of them may run while compile.bat is running.
    auto wire = [this](QAction* action, Handler handler) {
        connect(action, &QAction::triggered, this, [this, handler] {
            if (!compiling())
                (this->*handler)();
        });
    };

    QMenuBar* bar = menuBar();
    MenuCompile = makeAction(this, "MenuCompile", tr("Compile"));
    MenuCompile->setShortcut(QKeySequence(Qt::Key_F9)); // the compile key level designers know
    bar->addAction(MenuCompile);
    MenuStop = makeAction(this, "MenuStop", QString());
    MenuStop->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F9));
    wire(MenuCompile, &Form1::Form1_MenuCompile_Click);

    presets = makeMenu(this, "presets", tr("Preset"));
    presetload = makeMenu(presets, "presetload", tr("Load"));
    presetsave = makeMenu(presets, "presetsave", tr("Save"));
    presets->addMenu(presetload);
    presets->addMenu(presetsave);
    for (int i = 0; i < 4; ++i) {
        const QString caption = tr("Preset %1").arg(i + 1);
        loadpreset[i] = makeAction(this, QStringLiteral("loadpreset%1").arg(i + 1).toLatin1().constData(), caption);
        savepreset[i] = makeAction(this, QStringLiteral("savepreset%1").arg(i + 1).toLatin1().constData(), caption);
        loadpreset[i]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)));
        savepreset[i]->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key(Qt::Key_1 + i)));
        presetload->addAction(loadpreset[i]);
        presetsave->addAction(savepreset[i]);
        wire(loadpreset[i], kLoadHandlers[i]);
        wire(savepreset[i], kSaveHandlers[i]);
    }
    bar->addMenu(presets);

    MenuCredits = makeAction(this, "MenuCredits", QStringLiteral("!"));
    MenuHelp = makeAction(this, "MenuHelp", QStringLiteral("?"));
    MenuCredits->setToolTip(tr("Credits"));
    MenuHelp->setToolTip(tr("Help"));
    MenuHelp->setShortcut(QKeySequence(Qt::Key_F1));
    bar->addAction(MenuCredits);
    bar->addAction(MenuHelp);
    wire(MenuCredits, &Form1::Form1_MenuCredits_Click);
    wire(MenuHelp, &Form1::Form1_MenuHelp_Click);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    auto* layout = new QVBoxLayout(central);
    setCentralWidget(central);

    // ---- map and game directory frames ----
    Frame2 = new QGroupBox(tr("Map-Directory"), central);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Drive1 = new qmx::DriveList(QStringLiteral("Drive1"), Frame2);
    Drive1->setAccessibleName(tr("Map drive"));
    Dir1 = new qmx::DirList(QStringLiteral("Dir1"), Frame2);
    Dir1->setAccessibleName(tr("Map directories"));
    File1 = new qmx::FileList(QStringLiteral("File1"), Frame2);
    File1->setAccessibleName(tr("Map files"));
    File1->setPattern(QStringLiteral("*.vmf"));
    auto* mapLayout = new QGridLayout(Frame2);
    mapLayout->addWidget(Drive1, 0, 0);
    mapLayout->addWidget(Dir1, 1, 0);
    mapLayout->addWidget(File1, 0, 1, 2, 1);
    mapLayout->setColumnStretch(0, 1);
    mapLayout->setColumnStretch(1, 1);

    Frame4 = new QGroupBox(tr("Game-Directory"), central);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    Drive2 = new qmx::DriveList(QStringLiteral("Drive2"), Frame4);
    Drive2->setAccessibleName(tr("Game drive"));
    Dir2 = new qmx::DirList(QStringLiteral("Dir2"), Frame4);
    Dir2->setAccessibleName(tr("Game directories"));
    CopyFile = m_controls->options.buildCopyFile(Frame4);
    // Under the copy, since the game runs only on a map that was copied; captions from the language file.
    RunMap = new qmx::CheckBox(QStringLiteral("RunMap"), QString(), Frame4);
    GameCommand = new QPushButton(Frame4);
    GameCommand->setObjectName(QStringLiteral("GameCommand"));
    auto* gameRow = new QHBoxLayout;
    gameRow->addWidget(RunMap, 1);
    gameRow->addWidget(GameCommand);
    auto* gameLayout = new QVBoxLayout(Frame4);
    gameLayout->addWidget(Drive2);
    gameLayout->addWidget(Dir2, 1);
    gameLayout->addWidget(CopyFile);
    gameLayout->addLayout(gameRow);
    connect(RunMap, &qmx::CheckBox::Click, this, &Form1::Form1_RunMap_Click);
    connect(GameCommand, &QPushButton::clicked, this, &Form1::Form1_GameCommand_Click);
    RunGame = makeAction(this, "RunGame", tr("Run the map"));
    RunGame->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F9));
    addAction(RunGame); // a key without a menu item: the window takes it
    wire(RunGame, &Form1::Form1_RunGame_Click);
    SetGameCaptions();

    auto* frames = new QHBoxLayout;
    frames->addWidget(Frame2, 3);
    frames->addWidget(Frame4, 2);
    layout->addLayout(frames, 1);

    connect(Drive1, &qmx::DriveList::Change, this, &Form1::Form1_Drive1_Change);
    connect(Dir1, &qmx::DirList::Change, this, &Form1::Form1_Dir1_Change);
    connect(File1, &qmx::FileList::Click, this, &Form1::Form1_File1_Click);
    connect(Drive2, &qmx::DriveList::Change, this, &Form1::Form1_Drive2_Change);

    // ---- master check boxes, directly above the pages, and the three tool pages ----
    qmx::OptionControls& options = m_controls->options;
    auto* masters = new QHBoxLayout;
    options.buildMasters(central, masters);
    masters->addStretch(1);
    layout->addLayout(masters);
    BSP = options.master(qmx::Page::Bsp);
    VIS = options.master(qmx::Page::Vis);
    RAD = options.master(qmx::Page::Rad);
    for (const qmx::PageInfo& page : qmx::pageCatalogue())
        connect(options.master(page.page), &qmx::CheckBox::Click, this, kMasterHandlers[static_cast<int>(page.page)]);

    SSTab1 = new QTabWidget(central);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setAccessibleName(tr("Tool options"));
    options.buildPages(SSTab1);
    for (const ValueOptionHandlers& handlers : kValueHandlers) {
        const qmx::OptionEntry* entry = qmx::findOption(handlers.name);
        connect(options.checkBox(QLatin1String(entry->name)), &qmx::CheckBox::Click, this, handlers.boxClick);
        connect(options.textBox(QLatin1String(entry->textBoxName)), &qmx::TextBox::Click, this, handlers.textClick);
    }
    SSTab1->setCurrentIndex(0);
    layout->addWidget(SSTab1);

    Label1 = new QLabel(QStringLiteral("Label1"), central);
    Label1->setObjectName(QStringLiteral("Label1"));
    // Read as "SDK directory" with the directory itself as its description.
    Label1->setAccessibleName(tr("SDK directory"));
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(Label1);
    // Made now, so the compile's status line does not shift the layout when it first appears.
    statusBar();

    m_controls->compileKey = new QShortcut(this);
    connect(m_controls->compileKey, &QShortcut::activated, MenuCompile, &QAction::trigger);
    m_controls->presetsKey = new QShortcut(this);
    connect(m_controls->presetsKey, &QShortcut::activated, this,
            [this] { menuBar()->setActiveAction(presets->menuAction()); });
    updateAccessKeys();

    // The masters start unticked, so their pages start off.
    Module1::SetBspOptionsEnabled(false);
    Module1::SetRadOptionsEnabled(false);
    Module1::SetVisOptionsEnabled(false);
}

Form1::~Form1()
{
    delete m_compile; // its tools stop before the controls go
    delete m_credits;
    delete m_controls;
}

namespace {

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

void Form1::updateAccessKeys()
{
    m_controls->compileKey->setKey(accessKey(MenuCompile->text()));
    const QKeySequence presetsKey = accessKey(presets->title());
    // Two captions with the same first letter: the command keeps its key, the menu stays on the keyboard
    // through the menu bar's arrows.
    m_controls->presetsKey->setKey(presetsKey == m_controls->compileKey->key() ? QKeySequence() : presetsKey);
}

void Form1::setSdkDirectory(const QString& dir)
{
    SDKDir = dir;
    Label1->setText(dir);
    Label1->setAccessibleDescription(dir);
}

qmx::CheckBox* Form1::checkBox(const QString& name) const
{
    return m_controls->options.checkBox(name);
}

qmx::TextBox* Form1::textBox(const QString& name) const
{
    return m_controls->options.textBox(name);
}

bool Form1::compiling() const
{
    return m_compile && m_compile->running();
}

void Form1::closeEvent(QCloseEvent* event)
{
    // Closing would end the program under the running tools: the user decides, and the tools stop first.
    if (compiling()) {
        event->ignore();
        if (qmx::MsgBox(Module1::Text(qmx::config::Text::CompileCloseRunning), qmx::vbYesNo | qmx::vbQuestion)
            == qmx::vbYes)
            m_compile->stopThen([this] { close(); });
        return;
    }
    Form1_Form_Unload();
    event->accept();
}

// ---- page rules: each handler applies its control's rule ----

void Form1::Form1_BSP_Click()
{
    Module1::MasterRule(qmx::Page::Bsp);
}

void Form1::Form1_VIS_Click()
{
    Module1::MasterRule(qmx::Page::Vis);
}

void Form1::Form1_RAD_Click()
{
    Module1::MasterRule(qmx::Page::Rad);
}

void Form1::Form1_BSPblocks_Click()
{
    Module1::ValueOptionRule("BSPblocks");
}

void Form1::Form1_BSPluxelscale_Click()
{
    Module1::ValueOptionRule("BSPluxelscale");
}

void Form1::Form1_RADlights_Click()
{
    Module1::ValueOptionRule("RADlights");
}

void Form1::Form1_RADbounce_Click()
{
    Module1::ValueOptionRule("RADbounce");
}

void Form1::Form1_RADluxdensity_Click()
{
    Module1::ValueOptionRule("RADluxdensity");
}

void Form1::Form1_RADmaxdispsamplesize_Click()
{
    Module1::ValueOptionRule("RADmaxdispsamplesize");
}

void Form1::Form1_BSPblocks_text_Click()
{
    Module1::ValueTextRule("BSPblocks_text");
}

void Form1::Form1_BSPluxelscale_text_Click()
{
    Module1::ValueTextRule("BSPluxelscale_text");
}

// Same rule as the other five: a click into the box means the user wants the option.
void Form1::Form1_RADlights_text_Click()
{
    Module1::ValueTextRule("RADlights_text");
}

void Form1::Form1_RADbounce_text_Click()
{
    Module1::ValueTextRule("RADbounce_text");
}

void Form1::Form1_RADluxdensity_text_Click()
{
    Module1::ValueTextRule("RADluxdensity_text");
}

void Form1::Form1_RADmaxdispsamplesize_text_Click()
{
    Module1::ValueTextRule("RADmaxdispsamplesize_text");
}
