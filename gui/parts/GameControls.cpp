#include "gui/parts/GameControls.h"

#include "core/game/GameSettings.h"
#include "gui/parts/GameBrowser.h"
#include "gui/parts/GameDialog.h"
#include "gui/parts/MapBrowser.h"
#include "gui/toolkit/CheckBox.h"
#include "gui/toolkit/MessageBox.h"
#include "gui/toolkit/Texts.h"

#include <QAction>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>

namespace qmx {

namespace {

// A game that cannot start is the user's to fix (settings, a missing map); a failed start is an error.
int refusalStyle(game::Refusal refusal)
{
    switch (refusal) {
    case game::Refusal::NoMap:
        return vbInformation;
    case game::Refusal::StartFailed:
        return vbCritical;
    default:
        return vbExclamation;
    }
}

} // namespace

GameControls::GameControls(const MapBrowser& map, const GameBrowser& game, QMainWindow* window)
    : QObject(window)
    , m_map(map)
    , m_game(game)
    , m_window(window)
{
    // Captions from the language file; under the copy, since the game runs only on a map that was copied.
    m_runMap = new CheckBox(QStringLiteral("RunMap"), QString(), window);
    m_gameCommand = new QPushButton(window);
    m_gameCommand->setObjectName(QStringLiteral("GameCommand"));
    m_runGame = new QAction(window);
    m_runGame->setObjectName(QStringLiteral("RunGame"));
    m_runGame->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F9));
    window->addAction(m_runGame); // a key without a menu item: the window takes it

    // Stored at once, like a picked map: the option string keeps only the compile's own options.
    connect(m_runMap, &CheckBox::Click, this, [this] { game::writeRunMap(m_runMap->Value() == 1); });
    connect(m_gameCommand, &QPushButton::clicked, this, [this] { GameDialog(m_game.gameDir(), m_window).exec(); });
    connect(m_runGame, &QAction::triggered, this, &GameControls::runGameNow);
}

bool GameControls::runMapAfterCompile() const
{
    return m_runMap->Value() == 1;
}

void GameControls::restore()
{
    m_runMap->setValue(game::readGameSettings().runMap ? 1 : 0);
}

void GameControls::setCaptions()
{
    m_runMap->setText(languageText(config::Text::RunMap));
    m_runMap->setAccessibleName(m_runMap->text());
    m_gameCommand->setText(languageText(config::Text::GameCommand));
    m_gameCommand->setAccessibleName(m_gameCommand->text());
    m_runGame->setText(languageText(config::Text::GameRunTip));
    m_gameCommand->setToolTip(m_runGame->text() + QStringLiteral(": ")
                              + m_runGame->shortcut().toString(QKeySequence::NativeText));
}

void GameControls::runGameNow()
{
    const game::RunRequest request{m_map.mapFile().toStdString(), m_game.gameDir().toStdString(),
                                   game::readGameSettings()};
    ShowGameRun(game::runMap(request), m_window);
}

void ShowGameRun(const game::RunResult& result, QMainWindow* window)
{
    QStatusBar* status = window ? window->statusBar() : nullptr;
    if (result.launch) {
        if (status)
            status->showMessage(languageText(config::Text::GameStarted) + QLatin1Char(' ')
                                + QString::fromStdString(result.launch->commandLine));
        return;
    }
    if (!result.refused)
        return;
    const QString refusal = languageText(game::refusalText(result.refused->reason));
    if (result.refused->reason == game::Refusal::NotCopied) {
        // Unticking the copy is a choice, not a fault: no box to close after every compile.
        if (status)
            status->showMessage(refusal);
        return;
    }
    QString prompt = refusal;
    if (!result.refused->detail.empty())
        prompt += QStringLiteral("\n\n") + QString::fromStdString(result.refused->detail);
    MsgBox(prompt, refusalStyle(result.refused->reason));
}

} // namespace qmx
