#pragma once

// The game the compiled map runs in: the run-after-compile box, "Game..." with its dialog, and Ctrl+F9,
// which runs the game on the map already in the game directory.

#include "core/game/GameRun.h"

#include <QObject>

class QAction;
class QMainWindow;
class QPushButton;

namespace qmx {

class CheckBox;
class GameBrowser;
class MapBrowser;

class GameControls : public QObject
{
    Q_OBJECT
public:
    // The controls are made as children of window, which shows the game's start in its status line.
    GameControls(const MapBrowser& map, const GameBrowser& game, QMainWindow* window);

    CheckBox* runMap() const { return m_runMap; }
    QPushButton* gameCommand() const { return m_gameCommand; }
    // Ctrl+F9, which a running compile refuses.
    QAction* runGame() const { return m_runGame; }
    bool runMapAfterCompile() const;
    // The stored run-after-compile choice.
    void restore();
    void setCaptions();

private:
    void runGameNow();

    const MapBrowser& m_map;
    const GameBrowser& m_game;
    QMainWindow* m_window;
    CheckBox* m_runMap = nullptr;
    QPushButton* m_gameCommand = nullptr;
    QAction* m_runGame = nullptr;
};

// Tells the user how a start of the game went: a refusal's message, or in the window's status line the
// command line that was started, or that the map was not copied and so nothing started.
void ShowGameRun(const game::RunResult& result, QMainWindow* window);

} // namespace qmx
