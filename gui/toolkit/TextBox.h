#pragma once

#include <QLineEdit>

#include <functional>

namespace qmx {

// System colours as the classic toolkit codes them.
constexpr quint32 kSysColorScrollBar = 0x80000000u; // disabled page: scroll-bar colour
constexpr quint32 kSysColorWindow = 0x80000005u; // enabled page: window background

// A one-line text box that raises Click on a mouse press and takes the two system colours as its
// BackColor. It refuses "," and "|" typed or pasted, which would upset the option string, and says so
// with CharactersRefused.
class TextBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit TextBox(const QString& name, QWidget* parent = nullptr);

    quint32 BackColor() const { return m_backColor; }
    void setBackColor(quint32 sysColor);

    // What the user types or pastes is cut, from its end, until fits(text) holds for the box's text.
    void setFits(std::function<bool(const QString&)> fits) { m_fits = std::move(fits); }
    bool fits(const QString& text) const { return !m_fits || m_fits(text); }

signals:
    void Click();
    // Typed or pasted text lost a "," "|" or line break.
    void CharactersRefused();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    quint32 m_backColor = kSysColorWindow;
    std::function<bool(const QString&)> m_fits;
};

} // namespace qmx
