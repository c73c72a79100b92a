#include "gui/toolkit/MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

namespace qmx {
namespace {

MessageBoxHandler& handler()
{
    static MessageBoxHandler h;
    return h;
}

QMessageBox::Icon iconOf(int style)
{
    switch (style & 0x70) {
    case vbCritical:
        return QMessageBox::Critical;
    case vbQuestion:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBoxContent& content)
{
    const QMessageBox::StandardButtons buttons
        = (content.style & 0x0F) == vbYesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
    auto box = std::make_unique<QMessageBox>(
        iconOf(content.style), content.title.isEmpty() ? ApplicationTitle() : content.title, content.prompt, buttons);
    // Texts come from files users and translators write: "<b>" or "<again>" is text, not markup.
    box->setTextFormat(Qt::PlainText);
    if (!content.action.isEmpty())
        box->addButton(content.action, QMessageBox::ActionRole);
    return box;
}

int MsgBox(const QString& prompt, int style, const QString& title, const QString& action)
{
    const MessageBoxContent content{prompt, style, title.isEmpty() ? ApplicationTitle() : title, action};
    if (handler())
        return handler()(content);
    const std::unique_ptr<QMessageBox> box = MakeMessageBox(content);
    const int chosen = box->exec();
    if (box->buttonRole(box->clickedButton()) == QMessageBox::ActionRole)
        return vbAction;
    return chosen == QMessageBox::Yes ? vbYes : chosen == QMessageBox::No ? vbNo : vbOK;
}

QString ApplicationTitle()
{
    return QStringLiteral("QMX GUI II");
}

void setMessageBoxHandler(MessageBoxHandler h)
{
    handler() = std::move(h);
}

} // namespace qmx
