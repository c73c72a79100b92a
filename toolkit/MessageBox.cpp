#include "toolkit/MessageBox.h"

#include <QMessageBox>

namespace qmx {
namespace {

MessageBoxHandler& handler()
{
    static MessageBoxHandler h;
    return h;
}

void showRealBox(const QString& prompt, int style, const QString& title)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if (style == vbCritical)
        icon = QMessageBox::Critical;
    else if (style == vbInformation)
        icon = QMessageBox::Information;
    else if (style == vbExclamation)
        icon = QMessageBox::Warning;
    QMessageBox box(icon, title, prompt, QMessageBox::Ok);
    box.exec();
}

} // namespace

void MsgBox(const QString& prompt, int style, const QString& title)
{
    const QString shownTitle = title.isEmpty() ? ApplicationTitle() : title;
    if (handler())
        handler()(prompt, style, shownTitle);
    else
        showRealBox(prompt, style, shownTitle);
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
