#pragma once

#include "store/AccountsStore.h"

#include <QDBusConnection>
#include <QObject>

#include <memory>
#include <optional>

class QAction;
class QDBusServiceWatcher;
class QMenu;
class QSystemTrayIcon;

// The application's icon in the desktop's status area, through Qt's
// StatusNotifierItem support, while the desktop has a status-notifier host.
// Its tooltip names the nearest restore; its menu opens the window, counts
// the accounts available now, lists the next restores and quits. It follows
// the host's coming and going, and the store: the tooltip is rebuilt when its
// text changes, the menu only when it is about to show.
class StatusAreaIcon : public QObject {
    Q_OBJECT
public:
    explicit StatusAreaIcon(const AccountsStore &store, QObject *parent = nullptr);
    ~StatusAreaIcon() override;

    // Whether a host shows the icon, so that the window can be brought back.
    bool isAvailable() const { return m_icon != nullptr; }
    // The menu follows the window's light or dark appearance.
    void setDark(bool dark);
    // Opens the menu under the pointer, as a host does that asks for it.
    void showMenu();

signals:
    void availableChanged();
    void toggleWindowRequested();
    void openWindowRequested();
    void accountRequested(const QUuid &accountId);
    void quitRequested();

private:
    void setHostPresent(bool present);
    void updateToolTip();
    void updateMenu();

    const AccountsStore &m_store;
    QDBusServiceWatcher *m_hostWatcher;
    std::unique_ptr<QMenu> m_menu;
    QAction *m_availableAction = nullptr;
    QList<QAction *> m_restoreActions;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    // What the tooltip was built from, while it is current.
    bool m_toolTipCurrent = false;
    std::optional<QDateTime> m_toolTipRestore;
    std::optional<QString> m_toolTipZone;
};
