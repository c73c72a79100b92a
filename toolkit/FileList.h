#pragma once

#include <QListWidget>

namespace qmx {

// The classic file list: the files of Path matching Pattern ("*.vmf", case-insensitive), nothing
// selected until a click; FileName is the selected name or "". A click raises Click.
class FileList : public QListWidget
{
    Q_OBJECT
public:
    explicit FileList(const QString& name, QWidget* parent = nullptr);

    QString Path() const { return m_path; }
    void setPath(const QString& path);
    QString Pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);
    QString FileName() const;
    void refresh();

signals:
    void Click();

private:
    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
};

} // namespace qmx
