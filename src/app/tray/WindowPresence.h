#pragma once

#include <QObject>
#include <QString>
#include <QUuid>

#include <functional>

class AccountsStore;
class QQuickWindow;
class StatusAreaIcon;

// What closing the window does, and bringing it back. The close button,
// Ctrl+W and the desktop's close all arrive as the window's close event:
// while the status-area icon is shown and the user keeps the application in
// the background, the window only hides, and the clock and the restore
// notifications go on; otherwise the application quits. The first time it
// hides, a notification says where the application went.
class WindowPresence : public QObject {
    Q_OBJECT
public:
    using Notice = std::function<void(const QString &summary, const QString &body)>;

    // `settingsPath` keeps whether the notice was given, once for all runs.
    WindowPresence(QQuickWindow &window, AccountsStore &store, const StatusAreaIcon &statusArea, QString settingsPath,
                   Notice notice, QObject *parent = nullptr);

    bool closingHides() const;

    void show();
    void toggle();
    // Shows the window on the account: a destination that lists it, its row
    // in view and focused.
    void reveal(const QUuid &accountId);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void hideToBackground();

    QQuickWindow &m_window;
    AccountsStore &m_store;
    const StatusAreaIcon &m_statusArea;
    QString m_settingsPath;
    Notice m_notice;
};
