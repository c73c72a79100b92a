// The main window's game controls: the run-after-compile box, the "Game..." dialog and Ctrl+F9, which
// runs the game on the map already in the game directory.

#include "main_window/Form1.h"

#include "aux_windows/GameDialog.h"
#include "compile/CompileController.h"
#include "core/game/GameRun.h"
#include "core/game/GameSettings.h"
#include "storage/Module1Ini.h"
#include "toolkit/CheckBox.h"
#include "toolkit/DirList.h"
#include "toolkit/FileList.h"

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
