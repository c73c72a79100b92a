#pragma once

#include <QString>

#include <functional>
#include <memory>

class QMessageBox;

namespace qmx {

// Message box styles as the program uses them.
enum MsgBoxStyle
{
    vbOKOnly = 0,
    vbCritical = 16,
    vbExclamation = 48,
    vbInformation = 64
};

// Shows a modal message box; without a title the application's title is shown.
void MsgBox(const QString& prompt, int style = vbOKOnly, const QString& title = QString());

// The modal box MsgBox shows: the prompt as plain text, the style's icon, the title or the application's.
std::unique_ptr<QMessageBox> MakeMessageBox(const QString& prompt, int style, const QString& title = QString());

// The application's title, shown when a message box has none of its own.
QString ApplicationTitle();

// Tests replace the box: the handler gets what would have been shown and must not block.
using MessageBoxHandler = std::function<void(const QString& prompt, int style, const QString& title)>;
void setMessageBoxHandler(MessageBoxHandler handler); // empty handler: real boxes again

} // namespace qmx
