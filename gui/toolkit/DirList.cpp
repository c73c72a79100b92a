#include "gui/toolkit/DirList.h"

#include "core/os/Os.h"
#include "gui/toolkit/DriveList.h"

#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>

namespace qmx {
namespace {

constexpr int kIndentStep = 12;

// Draws each row shifted by its level, like the tree-like look of the classic control.
class IndentDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.setLeft(option.rect.left() + kIndentStep * index.data(DirList::LevelRole).toInt());
        QStyledItemDelegate::paint(painter, shifted, index);
    }
};

QString joinPath(const QString& root, const QStringList& parts, int count)
{
    QString path = root;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            path += QLatin1Char('\\');
        path += parts.at(i);
    }
    return path;
}

// Windows names are case-insensitive; the host's may not be. Give each component the case it has on
// disk so that a stored "Steamapps" finds "steamapps".
QString matchCaseOnDisk(const QString& windowsPath)
{
    const QString root = windowsPath.left(3);
    QStringList parts = windowsPath.mid(3).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (int i = 0; i < parts.size(); ++i) {
        const QString parent = joinPath(root, parts, i);
        const QString candidate = joinPath(root, parts, i + 1);
        if (os::directoryExists(candidate.toStdString()))
            continue;
        const os::Listing listing = os::subdirectories(parent.toStdString());
        if (!listing.ok)
            break;
        for (const std::string& name : listing.names) {
            const QString onDisk = QString::fromStdString(name);
            if (onDisk.compare(parts.at(i), Qt::CaseInsensitive) == 0) {
                parts[i] = onDisk;
                break;
            }
        }
    }
    return joinPath(root, parts, parts.size());
}

} // namespace

DirList::DirList(const QString& name, QWidget* parent)
    : QListWidget(parent)
{
    setObjectName(name);
    // Folder pictures at the small size, so the rows stay as dense as the classic list's.
    const int iconSide = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    setIconSize(QSize(iconSide, iconSide));
    setAccessibleName(name);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new IndentDelegate(this));
    // Like the classic control, open on the current directory; failing that, the first drive's root.
    QString initial = QString::fromStdString(os::toWindowsPath(QDir::currentPath().toStdString()));
    if (initial.isEmpty()) {
        const std::vector<os::Drive> drives = os::drives();
        if (!drives.empty())
            initial = QString(QChar::fromLatin1(drives.front().letter)) + QStringLiteral(":\\");
    }
    m_drive = DriveList::driveLetterOf(initial);
    open(resolvePath(initial, m_drive));
}

QString DirList::resolvePath(const QString& text, char currentDrive)
{
    QString rest = text;
    rest.replace(QLatin1Char('/'), QLatin1Char('\\'));
    char drive = DriveList::driveLetterOf(rest);
    if (drive != 0)
        rest = rest.mid(2);
    else
        drive = currentDrive;
    if (drive == 0)
        return QString();
    QStringList parts;
    for (const QString& part : rest.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    const QString root = QString(QChar::fromLatin1(drive).toUpper()) + QStringLiteral(":\\");
    return joinPath(root, parts, parts.size());
}

void DirList::setPath(const QString& path)
{
    const char given = DriveList::driveLetterOf(path.trimmed());
    if (given != 0)
        m_drive = given;
    if (open(resolvePath(path.trimmed(), m_drive)))
        emit Change();
}

bool DirList::open(const QString& resolved)
{
    if (resolved.isEmpty())
        return false;
    const QString target = matchCaseOnDisk(resolved);
    const os::Listing listing = os::subdirectories(target.toStdString());
    if (!listing.ok)
        return false;
    m_path = target;
    fill(listing.names);
    return true;
}

void DirList::refresh()
{
    if (m_path.isEmpty())
        return;
    const os::Listing listing = os::subdirectories(m_path.toStdString());
    if (listing.ok)
        fill(listing.names);
}

namespace {

QIcon folderIcon(const QListWidget& list, bool open)
{
    // Qt's own folder pictures, on every platform: the style would first search the icon theme's folders on
    // disk (Linux) or ask the shell for its icons (Windows, slower still under Wine), which costs more than
    // all the rest of start-up; the pictures are what the style falls back to anyway.
    const QStyle::StandardPixmap which = open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon;
    // QIcon decodes each file as it is added, so add only the one the list shows: the smallest picture that
    // covers the icon size on this screen.
    const qreal pixels = list.iconSize().width() * list.devicePixelRatioF();
    int size = 128;
    for (int candidate : {16, 32}) {
        if (candidate >= pixels) {
            size = candidate;
            break;
        }
    }
    QIcon icon;
    icon.addFile(QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1-%2.png")
                     .arg(open ? QStringLiteral("diropen") : QStringLiteral("dirclosed"))
                     .arg(size));
    return icon.isNull() ? list.style()->standardIcon(which) : icon;
}

} // namespace

void DirList::fill(const std::vector<std::string>& subdirectories)
{
    static const QIcon openIcon = folderIcon(*this, true);
    static const QIcon closedIcon = folderIcon(*this, false);
    const QString root = m_path.left(3);
    const QStringList parts = m_path.mid(3).split(QLatin1Char('\\'), Qt::SkipEmptyParts);

    setUpdatesEnabled(false);
    clear();
    auto addRow = [this](const QString& text, const QString& path, int level, const QIcon& icon) {
        auto* item = new QListWidgetItem(icon, text);
        item->setData(PathRole, path);
        item->setData(LevelRole, level);
        addItem(item);
    };
    addRow(root.left(2).toLower() + QLatin1Char('\\'), root, 0, openIcon);
    for (int i = 0; i < parts.size(); ++i)
        addRow(parts.at(i), joinPath(root, parts, i + 1), i + 1, openIcon);
    m_ancestorCount = parts.size() + 1;

    const QString prefix = parts.isEmpty() ? root : m_path + QLatin1Char('\\');
    const int level = m_ancestorCount;
    for (const std::string& name : subdirectories) {
        const QString text = QString::fromStdString(name);
        addRow(text, prefix + text, level, closedIcon);
    }
    // The open directory is the highlighted row, as in the classic control.
    setCurrentRow(m_ancestorCount - 1);
    setUpdatesEnabled(true);
}

void DirList::openRow(const QListWidgetItem* item)
{
    if (item == nullptr)
        return;
    // Copy first: opening refills the list and deletes the item.
    const QString path = item->data(PathRole).toString();
    setPath(path);
}

void DirList::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        event->accept();
        openRow(itemAt(event->position().toPoint()));
        return;
    }
    QListWidget::mouseDoubleClickEvent(event);
}

void DirList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        openRow(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

} // namespace qmx
