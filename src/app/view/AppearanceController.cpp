#include "AppearanceController.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QEvent>
#include <QGuiApplication>
#include <QPalette>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");

bool applicationPaletteIsDark()
{
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
}

} // namespace

AppearanceController::AppearanceController(const QDBusConnection &bus, PaletteProbe paletteIsDark, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
    , m_paletteIsDark(std::move(paletteIsDark))
{
    m_paletteDark = m_paletteIsDark();
    m_dark = m_paletteDark;
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
    askPortal();
}

std::unique_ptr<AppearanceController> AppearanceController::forApplication()
{
    return std::make_unique<AppearanceController>(QDBusConnection::sessionBus(), applicationPaletteIsDark);
}

void AppearanceController::askPortal()
{
    if (!m_bus.isConnected()) {
        m_desktopScheme = DesktopScheme::unavailable;
        return;
    }
    m_bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"), this,
                  SLOT(onSettingChanged(QString, QString, QDBusVariant)));

    // Read, not ReadOne: older portals have only Read, whose answer is wrapped once more.
    QDBusMessage read =
        QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface, QStringLiteral("Read"));
    read << appearanceGroup << colorSchemeKey;
    // A portal that does not answer soon counts as none; the palette decides meanwhile.
    constexpr int portalTimeoutMs = 1500;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(read, portalTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        // A change signalled meanwhile is newer than this answer.
        if (m_desktopScheme != DesktopScheme::pending)
            return;
        const QDBusPendingReply<QVariant> reply = *call;
        setDesktopScheme(reply.isError() ? DesktopScheme::unavailable : schemeFromPortalValue(reply.value()));
    });
}

AppearanceController::DesktopScheme AppearanceController::schemeFromPortalValue(const QVariant &value)
{
    QVariant inner = value;
    while (inner.metaType() == QMetaType::fromType<QDBusVariant>())
        inner = qvariant_cast<QDBusVariant>(inner).variant();
    bool isNumber = false;
    const uint number = inner.toUInt(&isNumber);
    if (!isNumber || inner.metaType() == QMetaType::fromType<QString>())
        return DesktopScheme::unavailable;
    switch (number) {
    case 1: return DesktopScheme::dark;
    case 2: return DesktopScheme::light;
    default: return DesktopScheme::noPreference;
    }
}

void AppearanceController::onSettingChanged(const QString &group, const QString &key, const QDBusVariant &value)
{
    if (group == appearanceGroup && key == colorSchemeKey)
        setDesktopScheme(schemeFromPortalValue(value.variant()));
}

void AppearanceController::setMode(AppearanceMode mode)
{
    m_mode = mode;
    update();
}

void AppearanceController::setDesktopScheme(DesktopScheme scheme)
{
    if (m_desktopScheme == scheme)
        return;
    m_desktopScheme = scheme;
    emit desktopSchemeChanged();
    update();
}

bool AppearanceController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationPaletteChange) {
        m_paletteDark = m_paletteIsDark();
        update();
    }
    return QObject::eventFilter(watched, event);
}

void AppearanceController::update()
{
    bool dark = m_paletteDark;
    if (m_mode == AppearanceMode::dark)
        dark = true;
    else if (m_mode == AppearanceMode::light)
        dark = false;
    else if (m_desktopScheme == DesktopScheme::dark)
        dark = true;
    else if (m_desktopScheme == DesktopScheme::light)
        dark = false;
    if (dark == m_dark)
        return;
    m_dark = dark;
    emit darkChanged();
}
