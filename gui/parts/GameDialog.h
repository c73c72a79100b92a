#pragma once

// The game the compiled map runs in: its executable, picked with the classic lists, and its parameter
// template with the placeholders explained. OK stores both in the settings file; Cancel changes nothing.

#include <QDialog>

class QLineEdit;

namespace qmx {

class GameDialog : public QDialog
{
    Q_OBJECT
public:
    // gameDir (Windows-form): where the browse starts while no executable is set.
    explicit GameDialog(const QString& gameDir, QWidget* parent = nullptr);

private:
    void browse();
    void store();

    QString m_gameDir;
    QLineEdit* m_exe = nullptr;
    QLineEdit* m_parameters = nullptr;
};

} // namespace qmx
