#pragma once

#include <QString>

#include <optional>

// One entry of the time-zone picker.
struct TimeZoneOption {
    QString id;                            // unique key in the list
    QString title;                         // label shown in the picker
    std::optional<QString> zoneIdentifier; // stored in Preferences; absent: system zone

    friend bool operator==(const TimeZoneOption &, const TimeZoneOption &) = default;
};
