#pragma once

#include <QListWidget>

namespace qmx {

// The classic directory list: shows the open path's ancestors and its subdirectories, opens a
// directory on double-click. Path is Windows-form. Setting it raises Change at once.
class DirList : public QListWidget
{
    Q_OBJECT
public:
    explicit DirList(const QString& name, QWidget* parent = nullptr);

    QString Path() const { return m_path; }
    // A path without a drive is resolved on the current drive. A directory that cannot be opened
    // leaves the list where it was.
    void setPath(const QString& path);
    // Re-reads the open directory.
    void refresh();

signals:
    void Change();

private:
    QString m_path;
};

} // namespace qmx
