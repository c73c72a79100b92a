#include "toolkit/CheckBox.h"

namespace qmx {

CheckBox::CheckBox(const QString& name, const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent)
{
    setObjectName(name);
    setAccessibleName(caption);
    setTristate(false);
    // toggled is emitted synchronously for user clicks and setChecked alike, so handlers run nested
    // inside the code that changed the Value, and only when it really changed.
    connect(this, &QCheckBox::toggled, this, &CheckBox::Click);
}

int CheckBox::Value() const
{
    return isChecked() ? 1 : 0;
}

void CheckBox::setValue(int value)
{
    setChecked(value != 0);
}

} // namespace qmx
