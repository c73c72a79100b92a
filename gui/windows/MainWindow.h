#pragma once

// The main window: the menu bar, the map and game directory frames, the master check boxes above the three
// tool pages, and the SDK directory, made from the window parts and wired together; with start-up and
// shut-down. Controls carry their design names as object names, which tests and assistive technology use.

#include <QMainWindow>

#include <memory>
#include <optional>

class QAction;
class QLabel;
class QShortcut;

namespace qmx {

class CreditsWindow;
class GameBrowser;
class GameControls;
class MapBrowser;
class OptionPages;
class PresetMenu;
class SdkFolderWindow;
namespace compile {
class CompileController;
}

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    // Start-up, in this order: the counter frequency; the language file, without which the program ends with
    // a critical message; the window centred; a second copy ends with its message; the window shown; the
    // launcher path; the SDK directory (else the SDK folder window); the browsers; the captions; the last
    // used option set and the run-after-compile choice.
    void start();
    // While a compile's tools run: no other command, and closing asks first.
    bool compiling() const;
    // The SDK's bin directory that compiles use, shown in the window.
    void setSdkDirectory(const QString& dir);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildCentral();
    void setCaptions();
    void updateAccessKeys();
    void detectSdkDirectory();
    void compile();
    void showCredits();

    OptionPages* m_pages = nullptr;
    PresetMenu* m_presets = nullptr;
    MapBrowser* m_map = nullptr;
    GameBrowser* m_game = nullptr;
    GameControls* m_gameControls = nullptr;
    compile::CompileController* m_compile = nullptr; // made for the first compile
    std::unique_ptr<CreditsWindow> m_credits; // made when first shown
    std::unique_ptr<SdkFolderWindow> m_folderWindow; // made when start-up cannot find the SDK
    QAction* m_compileAction = nullptr;
    QAction* m_stopAction = nullptr;
    QAction* m_creditsAction = nullptr;
    QAction* m_helpAction = nullptr;
    QShortcut* m_compileKey = nullptr;
    QShortcut* m_presetsKey = nullptr;
    QLabel* m_sdkLabel = nullptr;
    QString m_sdkDir;
    std::optional<QString> m_launcherPath;
};

} // namespace qmx
