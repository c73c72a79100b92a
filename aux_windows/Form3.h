#pragma once

#include <QMainWindow>

class QAction;
class QLabel;

// The credits window: a picture, the address of the download page and a menu back to the main
// window. Made once, on first use, then only hidden and shown; its load runs on the first showing.
class Form3 : public QMainWindow
{
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);
    ~Form3() override;

    // The one credits window, made on the first call. It goes away with the main window.
    static Form3* Instance();
    // The credits window if it has been made, else nullptr.
    static Form3* Existing();

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
    bool m_loaded = false;
};
