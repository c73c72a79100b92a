#include "gui/toolkit/FileList.h"

#include "core/os/Os.h"

#include <QDir>
#include <QMouseEvent>

#include <algorithm>

namespace qmx {

FileList::FileList(const QString& name, QWidget* parent)
    : QListWidget(parent)
{
    setObjectName(name);
    setAccessibleName(name);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    m_path = QString::fromStdString(os::toWindowsPath(QDir::currentPath().toStdString()));
    // Whatever moves the selection to a file raises Click once: the keyboard and code at once, the mouse
    // when it is released (pressing on one row and releasing on another is one pick).
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_filling)
            return;
        if (m_pressed)
            m_pending = true;
        else if (!FileName().isEmpty())
            emit Click();
    });
}

void FileList::setPath(const QString& path)
{
    m_path = path;
    refresh();
}

void FileList::setPattern(const QString& pattern)
{
    m_pattern = pattern;
    refresh();
}

QString FileList::FileName() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void FileList::refresh()
{
    QStringList names;
    if (!m_path.isEmpty()) {
        const std::string dir = m_path.toStdString();
        const QStringList patterns = m_pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (const QString& pattern : patterns) {
            const os::Listing listing = os::filesMatching(dir, pattern.trimmed().toStdString());
            if (!listing.ok)
                break;
            for (const std::string& name : listing.names)
                names.append(QString::fromStdString(name));
        }
        if (patterns.size() > 1) {
            std::sort(names.begin(), names.end(),
                      [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
            names.erase(std::unique(names.begin(), names.end()), names.end());
        }
    }
    setUpdatesEnabled(false);
    m_filling = true;
    clear();
    addItems(names);
    setCurrentRow(-1);
    m_filling = false;
    setUpdatesEnabled(true);
}

void FileList::mousePressEvent(QMouseEvent* event)
{
    m_pressed = true;
    m_pending = false;
    QListWidget::mousePressEvent(event);
}

void FileList::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    if (!m_pressed)
        return;
    m_pressed = false;
    // A click on the file already selected picks it again.
    const QListWidgetItem* under = itemAt(event->position().toPoint());
    const bool again = under && under->isSelected() && event->button() == Qt::LeftButton;
    if (!FileName().isEmpty() && (m_pending || again))
        emit Click();
    m_pending = false;
}

} // namespace qmx
