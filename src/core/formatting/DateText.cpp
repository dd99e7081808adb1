#include "DateText.h"

#include <QLocale>

QTimeZone DateText::timeZone(const Preferences &preferences)
{
    if (preferences.timezoneIdentifier) {
        QTimeZone zone(preferences.timezoneIdentifier->toUtf8());
        if (zone.isValid())
            return zone;
    }
    return QTimeZone::systemTimeZone();
}

QString DateText::dateTime(const QDateTime &date, const Preferences &preferences)
{
    // MMM is the locale's abbreviated month in its in-date form ("мар.",
    // "мая"), not the stand-alone one ("март", "май").
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    return russian.toString(date.toTimeZone(timeZone(preferences)), u"d MMM yyyy, HH:mm");
}
