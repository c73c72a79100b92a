#pragma once

#include <QMainWindow>

#include <optional>

class Form3;
class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;

namespace qmx {
namespace compile {
class CompileController;
}
class OptionControls;
class CheckBox;
class TextBox;
class DriveList;
class DirList;
class FileList;
} // namespace qmx

// The main window. Controls carry their design names (also as objectName). Its option controls are the
// current ones of Module1's option routines while it exists.
class Form1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Option controls by name ("BSPnowater", "RADbounce_text"); nullptr for an unknown name.
    qmx::CheckBox* checkBox(const QString& name) const;
    qmx::TextBox* textBox(const QString& name) const;

    // ---- controls ----
    QAction* MenuCompile = nullptr;
    QMenu* presets = nullptr;
    QMenu* presetload = nullptr;
    QMenu* presetsave = nullptr;
    QAction* loadpreset[4] = {};
    QAction* savepreset[4] = {};
    QAction* MenuCredits = nullptr;
    QAction* MenuHelp = nullptr;

    QGroupBox* Frame2 = nullptr; // map directory
    qmx::DriveList* Drive1 = nullptr;
    qmx::DirList* Dir1 = nullptr;
    qmx::FileList* File1 = nullptr;
    QGroupBox* Frame4 = nullptr; // game directory
    qmx::DriveList* Drive2 = nullptr;
    qmx::DirList* Dir2 = nullptr;
    qmx::CheckBox* CopyFile = nullptr;
    qmx::CheckBox* RunMap = nullptr; // run the map in the game after a compile that copied it
    QPushButton* GameCommand = nullptr; // "Game...": the game's executable and parameters
    QAction* RunGame = nullptr; // Ctrl+F9: run the game on the map already in the game directory

    qmx::CheckBox* BSP = nullptr;
    qmx::CheckBox* VIS = nullptr;
    qmx::CheckBox* RAD = nullptr;
    QTabWidget* SSTab1 = nullptr;
    QLabel* Label1 = nullptr; // the SDK directory

    // Alt+letter access keys for the Compile command and the Preset menu, from their current captions.
    // The captions stay exactly as the language file gives them.
    void updateAccessKeys();

    // ---- state that lives for a run ----
    QString SDKDir;
    // Sets SDKDir and shows it in Label1.
    void setSdkDirectory(const QString& dir);
    std::optional<QString> LauncherPath;
    // While the compile's tools run: no other command, and closing asks first.
    bool compiling() const;
    // The compile command's controller; nullptr before the first compile.
    qmx::compile::CompileController* compileController() const { return m_compile; }
    QAction* MenuStop = nullptr; // in the menu bar while a compile runs

    // ---- start-up and shut-down (main_window/StartUp.cpp) ----
    void Form1_Form_Load();
    void Form1_Form_Unload();

    // ---- browsers (main_window/Browsers.cpp) ----
    void Form1_Drive1_Change();
    void Form1_Dir1_Change();
    void Form1_Drive2_Change();
    void Form1_File1_Click();

    // ---- the game (main_window/Game.cpp) ----
    void Form1_RunMap_Click();
    void Form1_GameCommand_Click();
    void Form1_RunGame_Click();
    // The game controls' captions from the language file, and the stored run-after-compile choice.
    void SetGameCaptions();
    void RestoreRunMap();

    // The credits window once it has been shown, else nullptr.
    Form3* creditsWindow() const { return m_credits; }

    // ---- page rules (main_window/Form1.cpp) ----
    void Form1_BSP_Click();
    void Form1_VIS_Click();
    void Form1_RAD_Click();
    void Form1_BSPblocks_Click();
    void Form1_BSPluxelscale_Click();
    void Form1_RADlights_Click();
    void Form1_RADbounce_Click();
    void Form1_RADluxdensity_Click();
    void Form1_RADmaxdispsamplesize_Click();
    void Form1_BSPblocks_text_Click();
    void Form1_BSPluxelscale_text_Click();
    void Form1_RADlights_text_Click();
    void Form1_RADbounce_text_Click();
    void Form1_RADluxdensity_text_Click();
    void Form1_RADmaxdispsamplesize_text_Click();

    // ---- commands (main_window/Commands.cpp) ----
    void Form1_MenuCompile_Click();
    void Form1_savepreset1_Click();
    void Form1_savepreset2_Click();
    void Form1_savepreset3_Click();
    void Form1_savepreset4_Click();
    void Form1_loadpreset1_Click();
    void Form1_loadpreset2_Click();
    void Form1_loadpreset3_Click();
    void Form1_loadpreset4_Click();
    void Form1_MenuCredits_Click();
    void Form1_MenuHelp_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Controls;
    Controls* m_controls = nullptr;
    Form3* m_credits = nullptr;
    qmx::compile::CompileController* m_compile = nullptr;
};
