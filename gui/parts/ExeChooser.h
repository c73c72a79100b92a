#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

namespace qmx {
class DriveList;
class DirList;
class FileList;
} // namespace qmx

// Picks a program file in the classic drive, directory and file lists, so the path comes out in the
// Windows form the program keeps every path in. OK takes the picked file; Cancel, nothing.
class ExeChooser : public QDialog
{
    Q_OBJECT
public:
    // Opens where currentExe (Windows-form) lies, with it picked; without one, in fallbackDir; when
    // neither directory exists, where the lists open.
    ExeChooser(const QString& currentExe, const QString& fallbackDir, QWidget* parent = nullptr);

    qmx::DriveList* ExeDrive = nullptr;
    qmx::DirList* ExeDir = nullptr;
    qmx::FileList* ExeFile = nullptr;
    QComboBox* ExeType = nullptr; // Windows programs, or all files (a game's native Linux build)
    QPushButton* ExeOK = nullptr;
    QPushButton* ExeCancel = nullptr;

    // The picked file's Windows-form path; "" while none is picked.
    QString chosenPath() const;

private:
    bool openAt(const QString& dir);
    void updateOk();
};
