#include "PreferencesMapping.h"

QVariantMap PreferencesMapping::toMap(const Preferences &preferences)
{
    return {
        {QStringLiteral("appearanceMode"), AppearanceModes::rawValue(preferences.appearanceMode)},
        {QStringLiteral("timerFormat"), TimerFormats::rawValue(preferences.timerFormat)},
        {QStringLiteral("showSeconds"), preferences.showSeconds},
        {QStringLiteral("autoLaunchAtStartup"), preferences.autoLaunchAtStartup},
        {QStringLiteral("timezoneIdentifier"), preferences.timezoneIdentifier.value_or(QString())},
        {QStringLiteral("notificationsOnRestore"), preferences.notificationsOnRestore},
        {QStringLiteral("keepRunningInBackground"), preferences.keepRunningInBackground},
    };
}

Preferences PreferencesMapping::fromMap(const QVariantMap &map, const Preferences &base)
{
    Preferences p = base;
    if (const auto mode = AppearanceModes::fromRawValue(map.value(QStringLiteral("appearanceMode")).toString()))
        p.appearanceMode = *mode;
    if (const auto format = TimerFormats::fromRawValue(map.value(QStringLiteral("timerFormat")).toString()))
        p.timerFormat = *format;
    if (map.contains(QStringLiteral("showSeconds")))
        p.showSeconds = map.value(QStringLiteral("showSeconds")).toBool();
    if (map.contains(QStringLiteral("autoLaunchAtStartup")))
        p.autoLaunchAtStartup = map.value(QStringLiteral("autoLaunchAtStartup")).toBool();
    if (map.contains(QStringLiteral("notificationsOnRestore")))
        p.notificationsOnRestore = map.value(QStringLiteral("notificationsOnRestore")).toBool();
    if (map.contains(QStringLiteral("keepRunningInBackground")))
        p.keepRunningInBackground = map.value(QStringLiteral("keepRunningInBackground")).toBool();
    if (map.contains(QStringLiteral("timezoneIdentifier"))) {
        const QString zone = map.value(QStringLiteral("timezoneIdentifier")).toString();
        p.timezoneIdentifier = zone.isEmpty() ? std::nullopt : std::optional(zone);
    }
    return p;
}
