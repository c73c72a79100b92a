#pragma once

// The credits window: a picture, the address of the download page and a menu back to the window it was
// opened from. Made once, on first use, then only hidden and shown; its captions are read on its first
// showing. Closing it ends the program at once, without storing anything.

#include <QMainWindow>

class QAction;
class QLabel;

namespace qmx {

class CreditsWindow : public QMainWindow
{
    Q_OBJECT
public:
    // returnTo is the window that "Back" shows again; the credits window has no owner of its own.
    explicit CreditsWindow(QWidget* returnTo);

    // The address of the maker's download page, as the window shows it.
    static QString downloadAddress();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_returnTo;
    QLabel* m_address = nullptr;
    QAction* m_back = nullptr;
    bool m_loaded = false;
};

} // namespace qmx
