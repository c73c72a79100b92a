#pragma once

#include <QListWidget>

namespace qmx {

// The classic file list: the files of Path matching Pattern ("*.vmf", case-insensitive; several
// patterns may be joined by ";"), nothing selected until a click; FileName is the selected name or "".
// Every pick of a file raises Click once, however it came about (a click, a drag from one row to
// another, the keyboard, code); so does a click on the file already selected.
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
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_path;
    bool m_filling = false; // refresh() is changing the rows
    bool m_pressed = false; // a mouse button is down on the list
    bool m_pending = false; // the selection changed while it was down
    QString m_pattern = QStringLiteral("*.*");
};

} // namespace qmx
