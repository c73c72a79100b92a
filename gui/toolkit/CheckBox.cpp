#include "gui/toolkit/CheckBox.h"

namespace qmx {

CheckBox::CheckBox(const QString& name, const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent)
{
    setObjectName(name);
    // No accessible name of its own: assistive technology reads the caption, whatever the language file
    // made of it.
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
