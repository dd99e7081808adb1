#include "StatusAreaIcon.h"

#include "AppConfig.h"
#include "StatusSummary.h"

#include <QAction>
#include <QCursor>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

namespace {

const QString watcherName = QStringLiteral("org.kde.StatusNotifierWatcher");
constexpr qsizetype shownRestores = 5;

// Menu texts are plain: "&" would mark a shortcut letter.
QString plainMenuText(QString text)
{
    return text.replace(u'&', QStringLiteral("&&"));
}

// The window's own colours, which the menu would not take from the desktop.
QPalette menuPalette(bool dark)
{
    const QColor background = dark ? QColor(0x24, 0x26, 0x2d) : QColor(0xf7, 0xf7, 0xf9);
    const QColor text = dark ? QColor(0xee, 0xef, 0xf2) : QColor(0x1c, 0x1d, 0x21);
    const QColor muted = dark ? QColor(0x9a, 0x9c, 0xa3) : QColor(0x70, 0x72, 0x78);
    QPalette palette(text, background, background.lighter(115), background.darker(130), background.darker(110), text,
                     Qt::white, background, background);
    palette.setColor(QPalette::Highlight, QColor(0x1f, 0x6f, 0xeb));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, muted);
    // Fusion embosses disabled text with this colour.
    palette.setColor(QPalette::Disabled, QPalette::Light, background);
    return palette;
}

} // namespace

StatusAreaIcon::StatusAreaIcon(const AccountsStore &store, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_hostWatcher(new QDBusServiceWatcher(watcherName, QDBusConnection::sessionBus(),
                                            QDBusServiceWatcher::WatchForOwnerChange, this))
    , m_menu(std::make_unique<QMenu>())
{
    connect(m_menu->addAction(QStringLiteral("Открыть Tallyport")), &QAction::triggered, this,
            &StatusAreaIcon::openWindowRequested);
    m_menu->addSeparator();
    m_availableAction = m_menu->addAction(QString());
    m_availableAction->setEnabled(false);
    for (qsizetype i = 0; i < shownRestores; ++i) {
        QAction *action = m_menu->addAction(QString());
        connect(action, &QAction::triggered, this,
                [this, action] { emit accountRequested(action->data().value<QUuid>()); });
        m_restoreActions.append(action);
    }
    m_menu->addSeparator();
    connect(m_menu->addAction(QStringLiteral("Выйти")), &QAction::triggered, this, &StatusAreaIcon::quitRequested);
    connect(m_menu.get(), &QMenu::aboutToShow, this, &StatusAreaIcon::updateMenu);
    updateMenu();

    connect(m_hostWatcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &, const QString &newOwner) { setHostPresent(!newOwner.isEmpty()); });
    // Asked without waiting, so the window's first frame never does.
    QDBusMessage hasOwner =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    hasOwner << watcherName;
    auto *answer = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(hasOwner), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        const QDBusMessage reply = finished->reply();
        setHostPresent(reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toBool());
    });

    for (auto signal : {&AccountsStore::nowChanged, &AccountsStore::preferencesChanged})
        connect(&store, signal, this, &StatusAreaIcon::updateToolTip);
    connect(&store, &AccountsStore::accountsChanged, this, &StatusAreaIcon::updateToolTip);
}

StatusAreaIcon::~StatusAreaIcon() = default;

void StatusAreaIcon::setHostPresent(bool present)
{
    // Qt decides once per process whether it speaks to a status-notifier
    // host, at the first icon: none is made before a host is there.
    if (present == isAvailable() || (present && !QSystemTrayIcon::isSystemTrayAvailable()))
        return;
    if (present) {
        m_icon = std::make_unique<QSystemTrayIcon>(QIcon::fromTheme(
            AppConfig::applicationId, QIcon(QStringLiteral(":/Tallyport/icons/org.tallyport.Tallyport.svg"))));
        m_icon->setContextMenu(m_menu.get());
        connect(m_icon.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger)
                emit toggleWindowRequested();
            else if (reason == QSystemTrayIcon::Context)
                showMenu();
        });
        m_toolTipCurrent = false;
        updateToolTip();
        m_icon->show();
    } else {
        m_icon.reset();
    }
    emit availableChanged();
}

void StatusAreaIcon::setDark(bool dark)
{
    m_menu->setPalette(menuPalette(dark));
}

void StatusAreaIcon::showMenu()
{
    m_menu->popup(QCursor::pos());
}

void StatusAreaIcon::updateToolTip()
{
    if (!m_icon)
        return;
    const std::optional<QDateTime> nearest = m_store.nextResetDate();
    const std::optional<QString> &zone = m_store.preferences().timezoneIdentifier;
    if (m_toolTipCurrent && m_toolTipRestore == nearest && m_toolTipZone == zone)
        return;
    m_toolTipCurrent = true;
    m_toolTipRestore = nearest;
    m_toolTipZone = zone;
    m_icon->setToolTip(StatusSummary::toolTip(nearest, m_store.preferences()));
}

void StatusAreaIcon::updateMenu()
{
    m_availableAction->setText(QStringLiteral("Доступно сейчас: %1").arg(StatusSummary::availableNow(m_store)));
    const QList<StatusSummary::UpcomingRestore> restores = StatusSummary::nextRestores(m_store, shownRestores);
    for (qsizetype i = 0; i < m_restoreActions.size(); ++i) {
        QAction *action = m_restoreActions.at(i);
        action->setVisible(i < restores.size());
        if (i >= restores.size())
            continue;
        action->setText(plainMenuText(restores.at(i).name) + QStringLiteral(" — ") + restores.at(i).remainingText);
        action->setData(QVariant::fromValue(restores.at(i).accountId));
    }
}
