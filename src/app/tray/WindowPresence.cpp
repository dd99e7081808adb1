#include "WindowPresence.h"

#include "StatusAreaIcon.h"
#include "model/JsonCoding.h"
#include "store/AccountsStore.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QQuickWindow>
#include <QSettings>
#include <QVariant>

namespace {
const QString noticeGivenKey = QStringLiteral("backgroundNoticeShown");
}

WindowPresence::WindowPresence(QQuickWindow &window, AccountsStore &store, const StatusAreaIcon &statusArea,
                               QString settingsPath, Notice notice, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_store(store)
    , m_statusArea(statusArea)
    , m_settingsPath(std::move(settingsPath))
    , m_notice(std::move(notice))
{
    m_window.installEventFilter(this);
    // A hidden window whose icon goes away would leave no way back to it.
    connect(&statusArea, &StatusAreaIcon::availableChanged, this, [this] {
        if (!m_statusArea.isAvailable() && !m_window.isVisible())
            show();
    });
}

bool WindowPresence::closingHides() const
{
    return m_statusArea.isAvailable() && m_store.preferences().keepRunningInBackground;
}

bool WindowPresence::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_window || event->type() != QEvent::Close)
        return false;
    if (!closingHides()) {
        QCoreApplication::quit();
        return false;
    }
    event->ignore();
    hideToBackground();
    return true;
}

void WindowPresence::hideToBackground()
{
    m_window.hide();
    if (m_settingsPath.isEmpty())
        return;
    QSettings settings(m_settingsPath, QSettings::IniFormat);
    if (settings.value(noticeGivenKey).toBool())
        return;
    m_notice(QStringLiteral("Tallyport продолжает работать в фоне"),
             QStringLiteral("Tallyport продолжает работать в фоне и сообщит о восстановлении лимитов. "
                            "Выйти можно из меню значка."));
    settings.setValue(noticeGivenKey, true);
    settings.sync();
    // Settings files are created world-readable; these are the user's own.
    if (settings.status() == QSettings::NoError)
        QFile::setPermissions(m_settingsPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void WindowPresence::show()
{
    m_window.show();
    m_window.raise();
    m_window.requestActivate();
}

void WindowPresence::toggle()
{
    if (m_window.isVisible() && m_window.isActive())
        m_window.hide();
    else
        show();
}

void WindowPresence::reveal(const QUuid &accountId)
{
    show();
    const auto position = [this, &accountId]() -> qsizetype {
        const DashboardSection section = m_store.selectedSection();
        if (!m_store.selectedServiceId()
            && (section == DashboardSection::history || section == DashboardSection::support
                || section == DashboardSection::about))
            return -1;
        const QList<Account> shown = m_store.filteredAccounts();
        for (qsizetype i = 0; i < shown.size(); ++i) {
            if (shown.at(i).id == accountId)
                return i;
        }
        return -1;
    };
    qsizetype index = position();
    if (index < 0) {
        // Every unarchived account is listed there while no search narrows it.
        m_store.setSearchQuery(QString());
        m_store.selectSection(DashboardSection::all);
        index = position();
    }
    if (index >= 0)
        QMetaObject::invokeMethod(&m_window, "revealAccount", Q_ARG(QVariant, JsonCoding::uuidString(accountId)),
                                  Q_ARG(QVariant, int(index)));
}
