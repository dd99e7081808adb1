#pragma once

#include "model/Preferences.h"

#include <QVariantMap>

// Preferences as QML sees them: a plain object with the record's field names,
// enumerations as their raw values and an empty timezoneIdentifier for the
// system zone.
namespace PreferencesMapping {
QVariantMap toMap(const Preferences &preferences);
// Missing or unknown values keep those of `base`.
Preferences fromMap(const QVariantMap &map, const Preferences &base);
} // namespace PreferencesMapping
