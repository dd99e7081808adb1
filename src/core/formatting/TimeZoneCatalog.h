#pragma once

#include "TimeZoneOption.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QStringView>

// The time zones offered in the preferences: the system entry, then every
// IANA zone the platform can open, labelled "GMT+05:30 — name (id)" with
// ICU's long generic name, and sorted west to east, then by title.
namespace TimeZoneCatalog {
inline constexpr QStringView systemOptionId = u"__system__";

// The option that stands for the system's own zone; always first.
TimeZoneOption systemOption();

// Every known zone, with the offsets in force now and names in locale.
QList<TimeZoneOption> allOptions(const QLocale &locale);

// The same for the given identifiers, with offsets taken at the moment at.
QList<TimeZoneOption> allOptions(const QLocale &locale, const QList<QByteArray> &ids, const QDateTime &at);
} // namespace TimeZoneCatalog
