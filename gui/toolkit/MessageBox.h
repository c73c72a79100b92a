#pragma once

#include <QString>

#include <functional>
#include <memory>

class QMessageBox;

namespace qmx {

// Message box styles as the program uses them: the buttons plus the icon.
enum MsgBoxStyle
{
    vbOKOnly = 0,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64
};

// The button the user chose.
enum MsgBoxResult
{
    vbOK = 1,
    vbYes = 6,
    vbNo = 7,
    vbAction = 100, // the box's extra button
};

// What a message box shows.
struct MessageBoxContent
{
    QString prompt;
    int style = vbOKOnly;
    QString title; // the application's title when the caller gave none
    QString action; // the caption of an extra button beside OK; none when empty
};

// Shows a modal message box and returns the button chosen. With an action, a second button of that
// caption stands beside OK and returns vbAction.
int MsgBox(const QString& prompt, int style = vbOKOnly, const QString& title = QString(),
           const QString& action = QString());

// The modal box MsgBox shows: the prompt as plain text, the style's icon and buttons, the title.
std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBoxContent& content);

// The application's title, shown when a message box has none of its own.
QString ApplicationTitle();

// Tests replace the box: the handler gets what would have been shown, must not block, and answers.
using MessageBoxHandler = std::function<int(const MessageBoxContent& content)>;
void setMessageBoxHandler(MessageBoxHandler handler); // empty handler: real boxes again

} // namespace qmx
