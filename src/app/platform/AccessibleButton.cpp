#include "AccessibleButton.h"

#include <QQuickItem>
#include <QQuickWindow>

namespace {

// The `Accessible` attached object of an item, which Qt Quick makes a child of
// the item; none when the item is not exposed to assistive technologies.
QObject *accessibleAttached(const QObject *item)
{
    for (QObject *child : item->children()) {
        if (qstrcmp(child->metaObject()->className(), "QQuickAccessibleAttached") == 0)
            return child;
    }
    return nullptr;
}

bool isExposed(const QQuickItem *item)
{
    const QObject *attached = accessibleAttached(item);
    return attached && !attached->property("ignored").toBool();
}

} // namespace

AccessibleButton::AccessibleButton(QQuickItem *item)
    : QAccessibleObject(item)
{}

QAccessibleInterface *AccessibleButton::factory(const QString &, QObject *object)
{
    // Asked for as soon as an item is made, before a control has set its
    // accessible role: the push buttons are told apart by their type, the
    // check boxes, switches, menu entries and list entries left to Qt.
    auto *item = qobject_cast<QQuickItem *>(object);
    if (!item || !item->inherits("QQuickAbstractButton") || item->inherits("QQuickMenuItem")
        || item->inherits("QQuickItemDelegate") || item->property("checkable").toBool())
        return nullptr;
    return new AccessibleButton(item);
}

QQuickItem *AccessibleButton::item() const
{
    return static_cast<QQuickItem *>(object());
}

// Made by Qt Quick when the item's QML first uses `Accessible`, or when its
// control first meets an assistive technology.
QVariant AccessibleButton::attachedProperty(const char *name) const
{
    const QObject *attached = accessibleAttached(item());
    return attached ? attached->property(name) : QVariant();
}

QWindow *AccessibleButton::window() const
{
    return item()->window();
}

QRect AccessibleButton::rect() const
{
    const QQuickItem *button = item();
    if (!button->window() || !button->isVisible() || qFuzzyIsNull(button->opacity()))
        return {};
    const QRectF scene = button->mapRectToScene(QRectF(0, 0, button->width(), button->height()));
    return QRect(button->window()->mapToGlobal(scene.topLeft().toPoint()), scene.size().toSize());
}

// The nearest exposed ancestor, or the window above its content item.
QAccessibleInterface *AccessibleButton::parent() const
{
    QQuickWindow *window = item()->window();
    for (QQuickItem *ancestor = item()->parentItem(); ancestor; ancestor = ancestor->parentItem()) {
        if (window && ancestor == window->contentItem())
            return QAccessible::queryAccessibleInterface(window);
        if (isExposed(ancestor))
            return QAccessible::queryAccessibleInterface(ancestor);
    }
    return nullptr;
}

QAccessibleInterface *AccessibleButton::child(int) const
{
    return nullptr;
}

int AccessibleButton::childCount() const
{
    return 0;
}

int AccessibleButton::indexOfChild(const QAccessibleInterface *) const
{
    return -1;
}

QString AccessibleButton::text(QAccessible::Text type) const
{
    switch (type) {
    case QAccessible::Name: return attachedProperty("name").toString();
    case QAccessible::Description: return attachedProperty("description").toString();
    default: return {};
    }
}

QAccessible::Role AccessibleButton::role() const
{
    const auto role = attachedProperty("role").value<QAccessible::Role>();
    return role == QAccessible::NoRole ? QAccessible::Button : role;
}

QAccessible::State AccessibleButton::state() const
{
    const QQuickItem *button = item();
    QAccessible::State state;
    state.invisible = rect().isNull();
    state.offscreen = !state.invisible && !button->window()->geometry().intersects(rect());
    state.focusable = button->activeFocusOnTab() || attachedProperty("focusable").toBool();
    state.focused = button->hasActiveFocus();
    state.pressed = attachedProperty("pressed").toBool();
    state.defaultButton = attachedProperty("defaultButton").toBool();
    if (!button->isEnabled()) {
        state.disabled = true;
        state.focusable = false;
    }
    return state;
}

void *AccessibleButton::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface *>(this);
    return QAccessibleObject::interface_cast(type);
}

QStringList AccessibleButton::actionNames() const
{
    if (!item()->isEnabled())
        return {};
    QStringList names{pressAction()};
    if (state().focusable)
        names << setFocusAction();
    return names;
}

void AccessibleButton::doAction(const QString &actionName)
{
    if (!item()->isEnabled())
        return;
    if (actionName == setFocusAction())
        item()->forceActiveFocus(Qt::OtherFocusReason);
    else if (QObject *attached = accessibleAttached(item()); attached && actionName == pressAction())
        QMetaObject::invokeMethod(attached, "pressAction");
}

QStringList AccessibleButton::keyBindingsForAction(const QString &) const
{
    return {};
}
