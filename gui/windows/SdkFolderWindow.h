#pragma once

// The SDK folder window: asks for the SDK's bin directory when start-up could not find it. Its texts are
// fixed; it keeps no state of its own. Closing it ends the program at once.

#include <QWidget>

namespace qmx {

class DriveList;
class DirList;

class SdkFolderWindow : public QWidget
{
    Q_OBJECT
public:
    SdkFolderWindow();

    // Centres the window; start-up shows it next.
    void load();

signals:
    // "Done!" stored the choice; sdkDir is what the settings file now holds for it.
    void done(const QString& sdkDir);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    DriveList* m_drives = nullptr;
    DirList* m_dirs = nullptr;
};

} // namespace qmx
