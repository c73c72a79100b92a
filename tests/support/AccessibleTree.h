#pragma once

// What assistive technology reads: the names of everything in a window's accessibility tree, its menus
// included.

#include <QAccessible>
#include <QMenu>
#include <QStringList>

namespace qmxtest {

inline void collectAccessibleNames(QAccessibleInterface* node, QStringList& names)
{
    if (!node)
        return;
    names << node->text(QAccessible::Name);
    for (int i = 0; i < node->childCount(); ++i)
        collectAccessibleNames(node->child(i), names);
}

// The window's tree and the trees of its menus (a closed menu is a separate window to assistive technology).
inline QStringList accessibleNames(QWidget* window)
{
    QStringList names;
    collectAccessibleNames(QAccessible::queryAccessibleInterface(window), names);
    for (QMenu* menu : window->findChildren<QMenu*>())
        collectAccessibleNames(QAccessible::queryAccessibleInterface(menu), names);
    return names;
}

} // namespace qmxtest
