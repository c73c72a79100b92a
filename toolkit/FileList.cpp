#include "toolkit/FileList.h"

#include "core/os/Os.h"

#include <QDir>
#include <QKeyEvent>

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
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem*) { emit Click(); });
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
    const QListWidgetItem* item = currentItem();
    return item && item->isSelected() ? item->text() : QString();
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
    clear();
    addItems(names);
    setCurrentRow(-1);
    setUpdatesEnabled(true);
}

void FileList::keyPressEvent(QKeyEvent* event)
{
    const QListWidgetItem* before = currentItem();
    const bool wasSelected = before && before->isSelected();
    QListWidget::keyPressEvent(event);
    const QListWidgetItem* after = currentItem();
    if (after && after->isSelected() && (after != before || !wasSelected))
        emit Click();
}

} // namespace qmx
