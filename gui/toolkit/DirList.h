#pragma once

#include <QListWidget>

#include <string>
#include <vector>

namespace qmx {

// The classic directory list: shows the open path's ancestors and its subdirectories, opens a
// directory on double-click. Path is Windows-form ("C:\maps\work", the root "C:\"). Setting it raises
// Change at once.
class DirList : public QListWidget
{
    Q_OBJECT
public:
    // Item roles: the full Windows-form path of a row, and its indentation level.
    static constexpr int PathRole = Qt::UserRole;
    static constexpr int LevelRole = Qt::UserRole + 1;

    explicit DirList(const QString& name, QWidget* parent = nullptr);

    QString Path() const { return m_path; }
    // A path without a drive is resolved on the drive given last ("\maps\work" from its root,
    // "games\steam" relative to its root). A directory that cannot be opened leaves the list where it
    // was, without Change.
    void setPath(const QString& path);
    // Re-reads the open directory; keeps the rows when it can no longer be read.
    void refresh();
    // How many rows are ancestors (the open directory included); the rest are its subdirectories.
    int ancestorCount() const { return m_ancestorCount; }

    // Combines a path text with a drive letter: "d:" is the root of D:, "D:\x\..\y" is D:\y, "\x" and
    // "x" are taken from the given drive's root. Separators may be "\" or "/". Returns "" when the text
    // names no drive and none is given.
    static QString resolvePath(const QString& text, char currentDrive);

signals:
    void Change();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool open(const QString& resolved);
    void fill(const std::vector<std::string>& subdirectories);
    void openRow(const QListWidgetItem* item);

    QString m_path;
    char m_drive = 0;
    int m_ancestorCount = 0;
};

} // namespace qmx
