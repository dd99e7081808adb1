#include "TimeZoneCatalog.h"

#include <QCollator>
#include <QTimeZone>

#include <algorithm>
#include <cstdlib>

namespace {

struct Entry {
    QString identifier;
    int offset; // seconds east of Greenwich
    QString title;
};

QString localisedName(const QTimeZone &zone, const QLocale &locale)
{
    QString name = zone.displayName(QTimeZone::GenericTime, QTimeZone::LongName, locale);
    if (name.isEmpty())
        name = zone.displayName(QTimeZone::StandardTime, QTimeZone::LongName, locale);
    if (name.isEmpty())
        name = QString::fromUtf8(zone.id());
    return name;
}

void appendTwoDigits(QString &text, int value)
{
    text.append(QChar(u'0' + value / 10));
    text.append(QChar(u'0' + value % 10));
}

// "GMT+05:30 — name (identifier)"; zero offsets take the plus sign.
QString title(int offset, const QString &name, const QString &identifier)
{
    const int magnitude = std::abs(offset);
    QString text;
    text.reserve(16 + name.size() + identifier.size());
    text.append(u"GMT");
    text.append(offset < 0 ? u'-' : u'+');
    appendTwoDigits(text, magnitude / 3600);
    text.append(u':');
    appendTwoDigits(text, magnitude % 3600 / 60);
    text.append(u" — ");
    text.append(name);
    text.append(u" (");
    text.append(identifier);
    text.append(u')');
    return text;
}

} // namespace

TimeZoneOption TimeZoneCatalog::systemOption()
{
    return {systemOptionId.toString(), QStringLiteral("Системный"), std::nullopt};
}

QList<TimeZoneOption> TimeZoneCatalog::allOptions(const QLocale &locale)
{
    // One moment for every zone, so that all offsets agree on "today".
    return allOptions(locale, QTimeZone::availableTimeZoneIds(), QDateTime::currentDateTimeUtc());
}

QList<TimeZoneOption> TimeZoneCatalog::allOptions(const QLocale &locale, const QList<QByteArray> &ids,
                                                  const QDateTime &at)
{
    QList<Entry> entries;
    entries.reserve(ids.size());
    for (const QByteArray &id : ids) {
        const QTimeZone zone(id);
        if (!zone.isValid())
            continue;
        const int offset = zone.offsetFromUtc(at);
        const QString identifier = QString::fromUtf8(id);
        entries.append({identifier, offset, title(offset, localisedName(zone, locale), identifier)});
    }

    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(entries.begin(), entries.end(), [&collator](const Entry &a, const Entry &b) {
        if (a.offset != b.offset)
            return a.offset < b.offset;
        return collator.compare(a.title, b.title) < 0;
    });

    QList<TimeZoneOption> options;
    options.reserve(entries.size() + 1);
    options.append(systemOption());
    for (Entry &entry : entries)
        options.append({entry.identifier, std::move(entry.title), entry.identifier});
    return options;
}
