#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The game the compiled map runs in: its executable, picked with the classic lists, and its parameter
// template with the placeholders explained. OK stores both in the settings file; Cancel changes nothing.
class GameDialog : public QDialog
{
    Q_OBJECT
public:
    // gameDir (Windows-form): where the browse starts while no executable is set.
    explicit GameDialog(const QString& gameDir, QWidget* parent = nullptr);

    QLabel* GameExeLabel = nullptr;
    QLineEdit* GameExe = nullptr;
    QPushButton* GameBrowse = nullptr;
    QLabel* GameParametersLabel = nullptr;
    QLineEdit* GameParameters = nullptr;
    QLabel* GamePlaceholders = nullptr;
    QPushButton* GameOK = nullptr;
    QPushButton* GameCancel = nullptr;

    void GameDialog_GameBrowse_Click();
    void GameDialog_GameOK_Click();

private:
    QString m_gameDir;
};
