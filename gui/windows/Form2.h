#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace qmx {
class DriveList;
class DirList;
} // namespace qmx

// The SDK folder window: asks for the SDK's bin directory when start-up could not find it. Its texts
// are fixed; it keeps no state of its own.
class Form2 : public QWidget
{
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    qmx::DriveList* Drive1 = nullptr;
    qmx::DirList* Dir1 = nullptr;
    QPushButton* Command1 = nullptr;

    void Form2_Form_Load();
    void Form2_Drive1_Change();
    void Form2_Command1_Click();
    void Form2_Form_Unload();

signals:
    // "Done!" stored the choice; sdkDir is what the settings file now holds for it.
    void Done(const QString& sdkDir);

protected:
    void closeEvent(QCloseEvent* event) override;
};
