#pragma once

// Picks a program file in the classic drive, directory and file lists, so the path comes out in the Windows
// form the program keeps every path in. OK takes the picked file; Cancel, nothing.

#include <QDialog>

class QComboBox;
class QPushButton;

namespace qmx {

class DriveList;
class DirList;
class FileList;

class ExeChooser : public QDialog
{
    Q_OBJECT
public:
    // Opens where currentExe (Windows-form) lies, with it picked; without one, in fallbackDir; when neither
    // directory exists, where the lists open.
    ExeChooser(const QString& currentExe, const QString& fallbackDir, QWidget* parent = nullptr);

    // The picked file's Windows-form path; "" while none is picked.
    QString chosenPath() const;

private:
    void build(const QString& currentExe);
    bool openAt(const QString& dir);
    void updateOk();

    DriveList* m_drive = nullptr;
    DirList* m_dir = nullptr;
    FileList* m_file = nullptr;
    QComboBox* m_type = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace qmx
