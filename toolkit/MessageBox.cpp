#include "toolkit/MessageBox.h"

#include <QMessageBox>

namespace qmx {
namespace {

MessageBoxHandler& handler()
{
    static MessageBoxHandler h;
    return h;
}

} // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(const QString& prompt, int style, const QString& title)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if (style == vbCritical)
        icon = QMessageBox::Critical;
    else if (style == vbInformation)
        icon = QMessageBox::Information;
    else if (style == vbExclamation)
        icon = QMessageBox::Warning;
    auto box
        = std::make_unique<QMessageBox>(icon, title.isEmpty() ? ApplicationTitle() : title, prompt, QMessageBox::Ok);
    // Texts come from files users and translators write: "<b>" or "<again>" is text, not markup.
    box->setTextFormat(Qt::PlainText);
    return box;
}

void MsgBox(const QString& prompt, int style, const QString& title)
{
    const QString shownTitle = title.isEmpty() ? ApplicationTitle() : title;
    if (handler())
        handler()(prompt, style, shownTitle);
    else
        MakeMessageBox(prompt, style, shownTitle)->exec();
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
