#pragma once

#include <QList>
#include <QString>

#include <optional>

enum class AppearanceMode { system, light, dark };
enum class TimerFormat { compact, full };

namespace AppearanceModes {
const QList<AppearanceMode> &allCases();
QString rawValue(AppearanceMode mode);
QString title(AppearanceMode mode);
std::optional<AppearanceMode> fromRawValue(QStringView raw);
} // namespace AppearanceModes

namespace TimerFormats {
const QList<TimerFormat> &allCases();
QString rawValue(TimerFormat format);
QString title(TimerFormat format);
std::optional<TimerFormat> fromRawValue(QStringView raw);
} // namespace TimerFormats

// The user's settings. Every default is the first-start value.
struct Preferences {
    AppearanceMode appearanceMode = AppearanceMode::system;
    TimerFormat timerFormat = TimerFormat::compact;
    bool showSeconds = true;
    bool autoLaunchAtStartup = false;
    std::optional<QString> timezoneIdentifier; // absent: the system zone
    bool notificationsOnRestore = false;
    // Closing the window leaves the application running behind its
    // status-area icon, where the desktop shows one.
    bool keepRunningInBackground = true;

    friend bool operator==(const Preferences &, const Preferences &) = default;
};
