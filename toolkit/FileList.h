#pragma once

#include <QListWidget>

namespace qmx {

// The classic file list: the files of Path matching Pattern ("*.vmf", case-insensitive; several
// patterns may be joined by ";"), nothing selected until a click; FileName is the selected name or "".
// A click, or moving the selection with the keyboard, raises Click.
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
    // Re-reads the directory; a directory that cannot be read shows no files.
    void refresh();

signals:
    void Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
};

} // namespace qmx
