#include "Preferences.h"

const QList<AppearanceMode> &AppearanceModes::allCases()
{
    static const QList<AppearanceMode> cases{AppearanceMode::system, AppearanceMode::light, AppearanceMode::dark};
    return cases;
}

QString AppearanceModes::rawValue(AppearanceMode mode)
{
    switch (mode) {
    case AppearanceMode::system: return QStringLiteral("system");
    case AppearanceMode::light: return QStringLiteral("light");
    case AppearanceMode::dark: return QStringLiteral("dark");
    }
    return {};
}

QString AppearanceModes::title(AppearanceMode mode)
{
    switch (mode) {
    case AppearanceMode::system: return QStringLiteral("Как в системе");
    case AppearanceMode::light: return QStringLiteral("День");
    case AppearanceMode::dark: return QStringLiteral("Ночь");
    }
    return {};
}

std::optional<AppearanceMode> AppearanceModes::fromRawValue(QStringView raw)
{
    for (AppearanceMode mode : allCases())
        if (raw == rawValue(mode))
            return mode;
    return std::nullopt;
}

const QList<TimerFormat> &TimerFormats::allCases()
{
    static const QList<TimerFormat> cases{TimerFormat::compact, TimerFormat::full};
    return cases;
}

QString TimerFormats::rawValue(TimerFormat format)
{
    switch (format) {
    case TimerFormat::compact: return QStringLiteral("compact");
    case TimerFormat::full: return QStringLiteral("full");
    }
    return {};
}

QString TimerFormats::title(TimerFormat format)
{
    switch (format) {
    case TimerFormat::compact: return QStringLiteral("Компактный");
    case TimerFormat::full: return QStringLiteral("Полный");
    }
    return {};
}

std::optional<TimerFormat> TimerFormats::fromRawValue(QStringView raw)
{
    for (TimerFormat format : allCases())
        if (raw == rawValue(format))
            return format;
    return std::nullopt;
}
