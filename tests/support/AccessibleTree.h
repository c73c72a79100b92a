#pragma once

// What assistive technology reads: the names (and descriptions) of everything in a window's
// accessibility tree, its menus included.

#include <QAccessible>
#include <QMenu>
#include <QStringList>

namespace qmxtest {

// "name" for each node, or "name|description" when the node has a description.
inline void collectAccessibleNames(QAccessibleInterface* node, QStringList& names)
{
    if (!node)
        return;
    const QString description = node->text(QAccessible::Description);
    names << node->text(QAccessible::Name) + (description.isEmpty() ? QString() : QLatin1Char('|') + description);
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
    names.removeAll(QString());
    return names;
}

} // namespace qmxtest
