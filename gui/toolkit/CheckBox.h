#pragma once

#include <QCheckBox>

namespace qmx {

// A check box with the classic semantics: Value 0 or 1, and a Click event raised whenever the Value
// changes, by the user or by code, at once (nested inside the code that set it).
class CheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit CheckBox(const QString& name, const QString& caption, QWidget* parent = nullptr);

    int Value() const;
    void setValue(int value);

signals:
    void Click();
};

} // namespace qmx
