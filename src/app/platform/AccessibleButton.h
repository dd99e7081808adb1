#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleObject>

class QQuickItem;

// Push buttons of the window as assistive technologies see them, with their
// enabled state. Qt 6.4 reports every Qt Quick item as enabled and sensitive,
// so a disabled button would still be offered to a screen reader as one to
// press. This interface reads what Qt's own does (the item and its
// `Accessible` attached properties) and adds the disabled state.
class AccessibleButton : public QAccessibleObject, public QAccessibleActionInterface {
public:
    explicit AccessibleButton(QQuickItem *item);

    // For QAccessible::installFactory: an AccessibleButton for the push
    // buttons among Qt Quick items, nothing for anything else.
    static QAccessibleInterface *factory(const QString &className, QObject *object);

    QWindow *window() const override;
    QRect rect() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QString text(QAccessible::Text type) const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    QQuickItem *item() const;
    QVariant attachedProperty(const char *name) const;
};
