#pragma once

#include "model/Preferences.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>

// Every moment the window shows, written one way: "3 мар. 2026, 00:30" in
// the Russian locale and the user's chosen time zone.
namespace DateText {
// The chosen zone when the platform knows it, otherwise the system zone.
QTimeZone timeZone(const Preferences &preferences);

QString dateTime(const QDateTime &date, const Preferences &preferences);
} // namespace DateText
