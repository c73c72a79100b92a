#include "gui/toolkit/TextBox.h"

#include <QApplication>
#include <QMouseEvent>
#include <QValidator>

namespace qmx {
namespace {

// Drops "," and "|" (and line breaks) from what the user types or pastes, keeping the rest, and tells the
// box so that it can say why.
class NoSeparatorValidator : public QValidator
{
public:
    explicit NoSeparatorValidator(TextBox* box)
        : QValidator(box)
        , m_box(box)
    {
    }

    State validate(QString& input, int& pos) const override
    {
        int removedBeforeCursor = 0;
        QString kept;
        kept.reserve(input.size());
        for (int i = 0; i < input.size(); ++i) {
            const QChar c = input.at(i);
            if (c == QLatin1Char(',') || c == QLatin1Char('|') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                if (i < pos)
                    ++removedBeforeCursor;
                continue;
            }
            kept.append(c);
        }
        if (kept.size() != input.size()) {
            input = kept;
            pos = qMax(0, pos - removedBeforeCursor);
            emit m_box->CharactersRefused();
        }
        // New text ends at the cursor: drop its last characters (a surrogate pair whole) until it fits.
        while (pos > 0 && !m_box->fits(input)) {
            const int n = pos > 1 && input.at(pos - 1).isLowSurrogate() && input.at(pos - 2).isHighSurrogate() ? 2 : 1;
            input.remove(pos - n, n);
            pos -= n;
        }
        return Acceptable;
    }

private:
    TextBox* m_box;
};

} // namespace

TextBox::TextBox(const QString& name, QWidget* parent)
    : QLineEdit(parent)
{
    setObjectName(name);
    setValidator(new NoSeparatorValidator(this));
    setBackColor(kSysColorWindow);
}

void TextBox::setBackColor(quint32 sysColor)
{
    m_backColor = sysColor;
    // The platform palette's roles stand in for the two system colours; every colour group gets it,
    // so a disabled box shows the grey too.
    const QPalette platform = QApplication::palette(this);
    const QColor colour = sysColor == kSysColorScrollBar ? platform.color(QPalette::Active, QPalette::Button)
                                                         : platform.color(QPalette::Active, QPalette::Base);
    QPalette pal = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(group, QPalette::Base, colour);
    setPalette(pal);
}

void TextBox::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit Click();
}

} // namespace qmx
