#pragma once

#include <QMainWindow>

class QAction;
class QLabel;

// The credits window: a picture, the address of the download page and a menu back to the window it
// was opened from. Made once, on first use, then only hidden and shown; its load runs on the first
// showing.
class Form3 : public QMainWindow
{
    Q_OBJECT
public:
    // returnTo is the window that MenuBack shows again; the credits window has no owner of its own.
    explicit Form3(QWidget* returnTo);
    ~Form3() override;

    // The address of the maker's download page, as Label1 shows it.
    static QString DownloadAddress();

    bool isLoaded() const { return m_loaded; }

    // ---- controls ----
    QLabel* Picture1 = nullptr;
    QLabel* Label1 = nullptr;
    QAction* MenuBack = nullptr;

    // ---- events ----
    void Form3_Form_Load();
    void Form3_Label1_Click();
    void Form3_MenuBack_Click();
    void Form3_Form_Unload();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_returnTo;
    bool m_loaded = false;
};
