#pragma once

#include "model/Preferences.h"

#include <QDBusConnection>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class QDBusVariant;

// Whether the window is drawn dark: the user's appearance choice, and for
// `system` the desktop's colour-scheme preference as the XDG desktop portal
// reports it. The portal is asked without waiting: until it answers, and when
// it cannot or has no preference, the lightness of the application palette
// decides. Later changes of either are followed.
class AppearanceController : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool dark READ isDark NOTIFY darkChanged)
    Q_PROPERTY(DesktopScheme desktopScheme READ desktopScheme NOTIFY desktopSchemeChanged)

public:
    // What the desktop said about its colour scheme.
    enum class DesktopScheme {
        pending,      // asked, no answer yet
        unavailable,  // no portal, an error, or no answer in time
        noPreference, // the portal answered 0
        dark,         // 1
        light,        // 2
    };
    Q_ENUM(DesktopScheme)

    using PaletteProbe = std::function<bool()>;

    // `paletteIsDark` is asked at once and again whenever the application
    // palette changes.
    AppearanceController(const QDBusConnection &bus, PaletteProbe paletteIsDark, QObject *parent = nullptr);

    // On the session bus, with the palette of the running QGuiApplication.
    static std::unique_ptr<AppearanceController> forApplication();

    AppearanceMode mode() const { return m_mode; }
    void setMode(AppearanceMode mode);
    bool isDark() const { return m_dark; }
    DesktopScheme desktopScheme() const { return m_desktopScheme; }

    // The portal's org.freedesktop.appearance color-scheme value (an unsigned
    // number, possibly wrapped in variants) as a scheme.
    static DesktopScheme schemeFromPortalValue(const QVariant &value);

signals:
    void darkChanged();
    void desktopSchemeChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void onSettingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    void askPortal();
    void setDesktopScheme(DesktopScheme scheme);
    void update();

    QDBusConnection m_bus;
    PaletteProbe m_paletteIsDark;
    AppearanceMode m_mode = AppearanceMode::system;
    DesktopScheme m_desktopScheme = DesktopScheme::pending;
    bool m_paletteDark = false;
    bool m_dark = false;
};
