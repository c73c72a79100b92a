// The main window's game controls: the run-after-compile box, the "Game..." dialog and Ctrl+F9, which
// runs the game on the map already in the game directory.

#include "gui/windows/Form1.h"

#include "core/game/GameRun.h"
#include "core/game/GameSettings.h"
#include "gui/parts/CompileController.h"
#include "gui/parts/GameDialog.h"
#include "gui/toolkit/CheckBox.h"
#include "gui/toolkit/DirList.h"
#include "gui/toolkit/FileList.h"
#include "gui/toolkit/Module1Ini.h"

#include <QPushButton>

void Form1::Form1_RunMap_Click()
{
    // Stored at once, like a picked map: the option string keeps only the compile's own options.
    qmx::game::writeRunMap(RunMap->Value() == 1);
}

void Form1::Form1_GameCommand_Click()
{
    GameDialog dialog(Dir2->Path(), this);
    dialog.exec();
}

void Form1::Form1_RunGame_Click()
{
    if (compiling())
        return;
    const qmx::game::RunRequest request{File1->FileName().toStdString(), Dir2->Path().toStdString(),
                                        qmx::game::readGameSettings()};
    qmx::compile::ShowGameRun(qmx::game::runMap(request), this);
}

void Form1::SetGameCaptions()
{
    RunMap->setText(Module1::Text(qmx::config::Text::RunMap));
    RunMap->setAccessibleName(RunMap->text());
    GameCommand->setText(Module1::Text(qmx::config::Text::GameCommand));
    GameCommand->setAccessibleName(GameCommand->text());
    RunGame->setText(Module1::Text(qmx::config::Text::GameRunTip));
    GameCommand->setToolTip(RunGame->text() + QStringLiteral(": ")
                            + RunGame->shortcut().toString(QKeySequence::NativeText));
}

void Form1::RestoreRunMap()
{
    RunMap->setValue(qmx::game::readGameSettings().runMap ? 1 : 0);
}
